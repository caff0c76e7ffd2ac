#include "rom_audit.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <unordered_set>

#include "command_capture.h"
#include "emulator_commands.h"
#include "file_exists.h"
#include "file_move.h"
#include "rom_dependencies.h"
#include "text_util.h"

namespace lorvane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollMs = 30;
// A machine list query that takes longer than this is given up.
constexpr auto kListXmlTimeout = std::chrono::seconds(120);

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Asks the emulator which sets each audited set reads, one batch of names
// after the other, while the checks run beside it.
class DependencyProbe {
public:
    enum class State { Idle, Running, Done, Failed };

    void Begin(const std::string& appDir, const std::string& exeName,
               const std::vector<std::string>& names) {
        appDir_ = appDir;
        exeName_ = exeName;
        std::unordered_set<std::string> seen;
        std::vector<std::string> batch;
        for (const std::string& name : names) {
            // No name would list every machine; a leading "-" would be an option.
            if (name.empty() || name.front() == '-' || !seen.insert(name).second) continue;
            batch.push_back(name);
            if (batch.size() == kListXmlBatch) batches_.push_back(std::move(batch)), batch.clear();
        }
        if (!batch.empty()) batches_.push_back(std::move(batch));
        began_ = Clock::now();
        StartNext();
    }

    State GetState() const { return state_; }
    const RomDependencies& Dependencies() const { return deps_; }
    double SecondsSpent() const { return seconds_; }
    // The running machine list query, if any.
    const ChildCapture* Running() const { return state_ == State::Running ? &child_ : nullptr; }

    void OnReadable() {
        if (state_ != State::Running || child_.ReadAvailable()) return;
        child_.Finish();
        deps_.Add(child_.TakeText());
        StartNext();
    }

    void CheckTimeout() {
        if (state_ == State::Running && Clock::now() - batchStarted_ > kListXmlTimeout) GiveUp();
    }

    void Stop() {
        if (state_ == State::Running) GiveUp();
    }

private:
    void StartNext() {
        if (next_ == batches_.size()) {
            Finish(deps_.Empty() ? State::Failed : State::Done);
            return;
        }
        batchStarted_ = Clock::now();
        if (!child_.Start(ListXmlCommand(appDir_, exeName_, batches_[next_++]))) {
            Finish(State::Failed);
            return;
        }
        state_ = State::Running;
    }

    void GiveUp() {
        child_.Kill();
        Finish(State::Failed);
    }

    void Finish(State state) {
        state_ = state;
        seconds_ = Seconds(Clock::now() - began_);
    }

    std::string appDir_, exeName_;
    std::vector<std::vector<std::string>> batches_;
    std::size_t next_ = 0;
    ChildCapture child_;
    RomDependencies deps_;
    State state_ = State::Idle;
    Clock::time_point began_, batchStarted_;
    double seconds_ = 0;
};

class Audit {
public:
    Audit(const RomAuditInput& input, AuditProgress& progress)
        : in_(input),
          progress_(progress),
          n_(input.names.size()),
          parallel_(static_cast<std::size_t>(input.parallel > 0 ? input.parallel : DefaultAuditParallelism())),
          sets_(n_) {
        for (const std::string& name : in_.names) trimmed_.push_back(TrimSpacesCopy(name));
    }

    RomAuditResult Run() {
        if (n_ == 0) return std::move(result_);
        // One check at a time never starts before an earlier move: nothing to ask.
        if (parallel_ > 1 && n_ > 1) probe_.Begin(in_.appDir, in_.exeName, trimmed_);
        for (;;) {
            if (!ApplyReady() || head_ == n_ || Stopped()) break;
            StartMore();
            if (Stopped()) break;
            Poll();
            if (!Tick()) break;
        }
        for (Check& c : running_) c.child.Kill();
        running_.clear();
        probe_.Stop();

        result_.done = static_cast<int>(head_);
        result_.emulatorNotStarted = Stopped();
        result_.dependenciesKnown = probe_.GetState() == DependencyProbe::State::Done;
        if (result_.dependenciesKnown)
            for (const std::string& name : trimmed_) result_.unknownDependencies += !probe_.Dependencies().Known(name);
        result_.dependencySeconds = probe_.SecondsSpent();
        return std::move(result_);
    }

private:
    enum class Phase { Waiting, Running, Done };
    struct SetState {
        Phase phase = Phase::Waiting;
        std::size_t startEpoch = 0;  // moves made before the check started
        std::string output;
    };
    struct Check {
        std::size_t index;
        ChildCapture child;
        Clock::time_point started;
    };
    enum class Decision { Apply, Rerun, Wait };

    bool Stopped() const { return stopAt_ && head_ >= *stopAt_; }

    // Between polls and before each set: the screen stays live, and Cancel
    // stops before the next set.
    bool Tick() {
        progress_.DoEvents();
        progress_.Update(static_cast<int>(head_), static_cast<int>(n_), head_ < n_ ? trimmed_[head_] : "");
        if (!progress_.Cancelled()) return true;
        result_.cancelled = true;
        return false;
    }

    // Applies the finished checks at the head of the list, in order.
    bool ApplyReady() {
        while (head_ < n_) {
            if (Stopped()) return false;
            SetState& set = sets_[head_];
            if (set.phase != Phase::Done) return true;
            const Decision decision = Decide(head_);
            if (decision == Decision::Wait) return true;
            if (decision == Decision::Rerun) {
                set.phase = Phase::Waiting;
                set.output.clear();
                ++result_.reruns;
                return true;
            }
            if (!Tick()) return false;
            Apply(head_);
            ++head_;
        }
        return true;
    }

    // A check that began before a later move may have read a file that is gone now.
    Decision Decide(std::size_t i) const {
        const std::size_t since = sets_[i].startEpoch;
        if (since == movedNames_.size()) return Decision::Apply;
        switch (probe_.GetState()) {
            case DependencyProbe::State::Running: return Decision::Wait;
            case DependencyProbe::State::Done: break;
            default: return Decision::Rerun;
        }
        const RomDependencies& deps = probe_.Dependencies();
        for (std::size_t k = since; k < movedNames_.size(); ++k)
            if (deps.MayDependOn(trimmed_[i], movedNames_[k])) return Decision::Rerun;
        return Decision::Apply;
    }

    void Apply(std::size_t i) {
        std::string text = std::move(sets_[i].output);
        if (VerdictPasses(text)) return;
        ++result_.badCount;

        const std::string setFile = in_.names[i] + ".zip";
        const std::string from = in_.firstRomDir + setFile;
        std::string why;
        if (movedFiles_.count(setFile)) {
            why = "it has been moved to " + in_.target + " already";
        } else if (!Clean_code::FileExists(from)) {
            why = "it is not in the first ROM directory " + in_.firstRomDir;
        } else {
            const MoveResult moved = MoveFileNoReplace(from, JoinAppPath(in_.target, setFile));
            switch (moved.outcome) {
                case MoveOutcome::Moved:
                    result_.moved.push_back(setFile);
                    movedFiles_.insert(setFile);
                    movedNames_.push_back(trimmed_[i]);
                    break;
                case MoveOutcome::TargetExists:
                    why = "a file of that name is already in " + in_.target;
                    break;
                case MoveOutcome::Failed:
                    why = moved.failure ? moved.failure->Description() : "the move failed";
                    break;
            }
        }

        std::string& report = result_.report;
        report += text;
        if (!why.empty()) {
            if (!text.empty() && text.back() != '\n' && text.back() != '\r') report += "\r\n";
            report += setFile + " was not moved: " + why;
        }
        report += "\r\n\r\n";
    }

    std::size_t Lookahead() const {
        // Without knowing what depends on what, any move makes every check
        // started ahead of it run again: keep few ahead then.
        if (probe_.GetState() == DependencyProbe::State::Failed ||
            probe_.GetState() == DependencyProbe::State::Idle)
            return parallel_;
        return std::max<std::size_t>(32, parallel_ * 8);
    }

    // Once the dependencies are known, a check that may read the file of an
    // earlier set not yet dealt with waits for it rather than run twice. Until
    // then checks start anyway, and are judged when the answer comes.
    bool MayStart(std::size_t j) const {
        if (j == head_ || probe_.GetState() != DependencyProbe::State::Done) return true;
        const RomDependencies& deps = probe_.Dependencies();
        if (!deps.Known(trimmed_[j])) return false;
        for (std::size_t i = head_; i < j; ++i)
            if (deps.MayDependOn(trimmed_[j], trimmed_[i])) return false;
        return true;
    }

    void StartMore() {
        std::size_t limit = std::min(n_, head_ + Lookahead());
        if (stopAt_) limit = std::min(limit, *stopAt_);
        for (std::size_t i = head_; i < limit && running_.size() < parallel_; ++i) {
            if (sets_[i].phase != Phase::Waiting || !MayStart(i)) continue;
            const CommandLine argv = VerifyCommand(in_.appDir, in_.exeName, in_.names[i], "");
            Check check{i, ChildCapture{}, Clock::now()};
            if (!check.child.Start(argv)) {
                StartFailed(i, argv.front(), check.child.Result().startErrno);
                return;
            }
            ++result_.checksRun;
            sets_[i].phase = Phase::Running;
            sets_[i].startEpoch = movedNames_.size();
            running_.push_back(std::move(check));
        }
    }

    // Nothing from this set on is dealt with; the sets before it still are,
    // as they would have been one after the other.
    void StartFailed(std::size_t i, const std::string& program, int err) {
        if (!stopAt_ || i < *stopAt_) {
            stopAt_ = i;
            result_.emulatorPath = program;
            result_.startErrno = err;
        }
        for (std::size_t k = running_.size(); k-- > 0;) {
            if (running_[k].index < i) continue;
            running_[k].child.Kill();
            sets_[running_[k].index].phase = Phase::Waiting;
            running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(k));
        }
    }

    void Poll() {
        std::vector<const ChildCapture*> captures;
        captures.reserve(running_.size() + 1);
        for (const Check& c : running_) captures.push_back(&c.child);
        captures.push_back(probe_.Running());
        const std::vector<bool> ready = WaitForOutput(captures, kPollMs);

        for (std::size_t k = running_.size(); k-- > 0;) {
            if (!ready[k]) continue;
            Check& c = running_[k];
            if (c.child.ReadAvailable()) continue;
            c.child.Finish();
            result_.checkSeconds += Seconds(Clock::now() - c.started);
            SetState& set = sets_[c.index];
            set.output = c.child.TakeText();
            set.phase = Phase::Done;
            running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(k));
        }
        if (ready.back()) probe_.OnReadable();
        probe_.CheckTimeout();
    }

    const RomAuditInput& in_;
    AuditProgress& progress_;
    const std::size_t n_;
    const std::size_t parallel_;
    std::vector<std::string> trimmed_;
    std::vector<SetState> sets_;
    std::vector<Check> running_;
    std::vector<std::string> movedNames_;  // trimmed names of the sets moved, in order
    std::unordered_set<std::string> movedFiles_;
    std::size_t head_ = 0;                 // sets before it are dealt with
    std::optional<std::size_t> stopAt_;    // the emulator could not be started for it
    DependencyProbe probe_;
    RomAuditResult result_;
};

}  // namespace

int DefaultAuditParallelism() { return ProcessorCount(); }

RomAuditResult RunRomAudit(const RomAuditInput& input, AuditProgress& progress) {
    return Audit(input, progress).Run();
}

}  // namespace lorvane
