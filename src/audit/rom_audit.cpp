#include "audit/rom_audit.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "audit/dependency_probe.h"
#include "mame/commands.h"
#include "mame/rom_dependencies.h"
#include "mame/several_set_check.h"
#include "platform/command_capture.h"
#include "platform/file_exists.h"
#include "platform/file_identity.h"
#include "platform/file_move.h"
#include "platform/paths.h"
#include "util/text.h"

namespace lorvane::audit {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollMs = 30;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

class Audit {
public:
    Audit(const RomAuditInput& input, AuditProgress& progress)
        : in_(input),
          progress_(progress),
          n_(input.names.size()),
          parallel_(static_cast<std::size_t>(input.parallel > 0 ? input.parallel
                                                                : DefaultAuditParallelism())),
          batchSize_(input.severalSetBatch > 0 ? input.severalSetBatch : mame::kSeveralSetBatch),
          sets_(n_) {
        for (const std::string& name : in_.names) trimmed_.push_back(util::TrimSpacesCopy(name));
        if (!in_.severalSetChecks) return;
        // A set listed twice is checked twice, the second time perhaps after the
        // first was moved: each gets its own check.
        std::unordered_map<std::string_view, int> listed;
        for (const std::string& name : trimmed_) ++listed[name];
        for (std::size_t i = 0; i < n_; ++i) {
            if (!mame::SeveralSetName(in_.names[i]) || listed[trimmed_[i]] != 1) continue;
            sets_[i].batch = Batch::Unasked;
            ++unasked_;
        }
    }

    RomAuditResult Run() {
        result_.total = static_cast<int>(n_);
        if (n_ == 0) return std::move(result_);
        for (;;) {
            if (!ApplyReady() || head_ == n_ || Stopped()) break;
            StartMore();
            if (Stopped()) break;
            Poll();
            if (!Tick()) break;
        }
        for (Check& c : running_) c.child.Kill();
        running_.clear();
        for (SeveralSetRun& run : runs_) run.child.Kill();
        runs_.clear();
        probe_.Stop();

        result_.done = static_cast<int>(head_);
        result_.emulatorNotStarted = Stopped();
        result_.dependenciesKnown = probe_.GetState() == DependencyProbe::State::Done;
        if (result_.dependenciesKnown)
            for (const std::string& name : trimmed_)
                result_.unknownDependencies += !probe_.Dependencies().Known(name);
        result_.dependencySeconds = probe_.SecondsSpent();
        return std::move(result_);
    }

private:
    enum class Phase { Waiting, Running, Done };  // of the set's own check
    // What runs over several sets say of the set.
    enum class Batch {
        Solo,     // never asked with others: its own check decides
        Unasked,  // to be asked in a coming run
        Asked,    // in a run not finished yet
        Good,     // a run called it good: stands at its turn if nothing it reads changed
        Missing,  // no good verdict (or one set aside): its own check decides
    };
    struct SetState {
        Phase phase = Phase::Waiting;
        std::size_t startEpoch = 0;  // moves made before the check started
        std::string output;
        Batch batch = Batch::Solo;
        std::size_t batchEpoch = 0;   // moves made before its several-set run started
        platform::FileIdentity file;  // its set file when that run started
    };
    struct Check {
        std::size_t index;
        platform::ChildCapture child;
        Clock::time_point started;
    };
    struct SeveralSetRun {
        std::vector<std::size_t> sets;
        platform::ChildCapture child;
    };
    enum class Decision { Apply, Rerun, Wait };

    bool Stopped() const { return stopAt_ && head_ >= *stopAt_; }
    std::string SetPath(std::size_t i) const { return in_.firstRomDir + in_.names[i] + ".zip"; }
    bool NeedsOwnCheck(std::size_t i) const {
        return sets_[i].batch == Batch::Solo || sets_[i].batch == Batch::Missing;
    }
    std::size_t Busy() const { return running_.size() + runs_.size(); }

    // Between polls and before each set: the screen stays live, and Cancel
    // stops before the next set.
    bool Tick() {
        progress_.ProcessPendingEvents();
        progress_.Update(static_cast<int>(head_), static_cast<int>(n_),
                         head_ < n_ ? trimmed_[head_] : "");
        if (!progress_.Cancelled()) return true;
        result_.cancelled = true;
        return false;
    }

    // Applies the finished checks and verdicts at the head of the list, in order.
    bool ApplyReady() {
        while (head_ < n_) {
            if (Stopped()) return false;
            SetState& set = sets_[head_];
            if (set.batch == Batch::Unasked || set.batch == Batch::Asked) return true;
            if (set.batch == Batch::Good) {
                const Decision decision = DecideGood(head_);
                if (decision == Decision::Wait) return true;
                if (decision == Decision::Rerun) {
                    set.batch = Batch::Missing;
                    ++result_.verdictsSetAside;
                    return true;
                }
                if (!Tick()) return false;
                ++result_.goodFromSeveralSetRuns;
                ++head_;
                continue;
            }
            if (set.phase != Phase::Done) return true;
            const Decision decision = SinceMoves(head_, set.startEpoch);
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

    // An answer describes the ROM directory as it was when its run began: a
    // set file moved since then may have been read by it.
    Decision SinceMoves(std::size_t i, std::size_t since) const {
        if (since == movedNames_.size()) return Decision::Apply;
        switch (probe_.GetState()) {
            case DependencyProbe::State::Running:
                return Decision::Wait;
            case DependencyProbe::State::Done:
                break;
            default:
                return Decision::Rerun;
        }
        const mame::RomDependencies& deps = probe_.Dependencies();
        for (std::size_t k = since; k < movedNames_.size(); ++k)
            if (deps.MayDependOn(trimmed_[i], movedNames_[k])) return Decision::Rerun;
        return Decision::Apply;
    }

    // A good verdict from a run over several sets stands only for the set file
    // that run read, and only if nothing the set reads was moved since.
    Decision DecideGood(std::size_t i) const {
        const Decision decision = SinceMoves(i, sets_[i].batchEpoch);
        if (decision != Decision::Apply) return decision;
        return platform::SameFile(sets_[i].file, platform::IdentifyFile(SetPath(i)))
                   ? Decision::Apply
                   : Decision::Rerun;
    }

    void Apply(std::size_t i) {
        std::string text = std::move(sets_[i].output);
        if (mame::VerdictPasses(text)) return;
        ++result_.badCount;

        const std::string setFile = in_.names[i] + ".zip";
        const std::string from = in_.firstRomDir + setFile;
        std::string why;
        if (movedFiles_.count(setFile)) {
            why = "it has been moved to " + in_.target + " already";
        } else if (!platform::FileExists(from)) {
            why = "it is not in the first ROM directory " + in_.firstRomDir;
        } else {
            const platform::MoveResult moved =
                platform::MoveFileNoReplace(from, platform::JoinPath(in_.target, setFile));
            switch (moved.outcome) {
                case platform::MoveOutcome::Moved:
                    result_.moved.push_back(setFile);
                    movedFiles_.insert(setFile);
                    movedNames_.push_back(trimmed_[i]);
                    break;
                case platform::MoveOutcome::TargetExists:
                    why = "a file of that name is already in " + in_.target;
                    break;
                case platform::MoveOutcome::Failed:
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
    // then checks start anyway, and are judged when the answer comes. A set
    // called good is not expected to move.
    bool MayStart(std::size_t j) const {
        if (j == head_ || probe_.GetState() != DependencyProbe::State::Done) return true;
        const mame::RomDependencies& deps = probe_.Dependencies();
        if (!deps.Known(trimmed_[j])) return false;
        for (std::size_t i = head_; i < j; ++i)
            if (sets_[i].batch != Batch::Good && deps.MayDependOn(trimmed_[j], trimmed_[i]))
                return false;
        return true;
    }

    void StartMore() {
        std::size_t limit = std::min(n_, head_ + Lookahead());
        if (stopAt_) limit = std::min(limit, *stopAt_);
        // The head's own check first: nothing after it can be dealt with before it.
        if (head_ < limit && Busy() < parallel_ && NeedsOwnCheck(head_) &&
            sets_[head_].phase == Phase::Waiting && !StartCheck(head_))
            return;
        while (Busy() < parallel_ && StartSeveralSetRun()) {
        }
        for (std::size_t i = head_; i < limit && Busy() < parallel_; ++i) {
            if (!NeedsOwnCheck(i) || sets_[i].phase != Phase::Waiting || !MayStart(i)) continue;
            if (!StartCheck(i)) return;
        }
    }

    // Which sets read which others matters once a set may be moved: asked when
    // the first own check starts, beside it. (Sets found good by several-set
    // runs never move, and the query would only take the processor from them.)
    // One check at a time with no other runs never starts before an earlier
    // move: nothing to ask then.
    void AskDependencies() {
        if (probe_.GetState() == DependencyProbe::State::Idle && n_ > 1 &&
            (parallel_ > 1 || in_.severalSetChecks))
            probe_.Begin(in_.appDir, in_.exeName, trimmed_);
    }

    bool StartCheck(std::size_t i) {
        AskDependencies();
        const platform::CommandLine argv =
            mame::VerifyCommand(in_.appDir, in_.exeName, in_.names[i], "");
        Check check{i, platform::ChildCapture{}, Clock::now()};
        if (!check.child.Start(argv)) {
            StartFailed(i, argv.front(), check.child.Result().startErrno);
            return false;
        }
        ++result_.checksRun;
        sets_[i].phase = Phase::Running;
        sets_[i].startEpoch = movedNames_.size();
        running_.push_back(std::move(check));
        return true;
    }

    // The next sets not asked yet, in list order, as far as the batch size, the
    // argument bytes and the horizon allow. Until a run has answered in the form
    // expected, one run at a time: an emulator that does not costs one run.
    bool StartSeveralSetRun() {
        if (unasked_ == 0 || (!trusted_ && !runs_.empty())) return false;
        while (sets_[nextUnasked_].batch != Batch::Unasked) ++nextUnasked_;
        // Runs ahead of the list by a few batches: a verdict taken long before
        // the set's turn is more likely to be set aside by a move in between.
        if (nextUnasked_ >= head_ + 2 * parallel_ * batchSize_) return false;
        // Once runs may go side by side, the last sets are shared among the free slots.
        const std::size_t free = parallel_ - Busy();
        const std::size_t size =
            trusted_ ? std::min(batchSize_, (unasked_ + free - 1) / free) : batchSize_;

        SeveralSetRun run;
        std::vector<std::string> names;
        std::size_t bytes = 0;
        for (std::size_t i = nextUnasked_; i < n_ && run.sets.size() < size; ++i) {
            if (sets_[i].batch != Batch::Unasked) continue;
            bytes += trimmed_[i].size() + 1;
            if (bytes > mame::kSeveralSetArgumentBytes) break;
            run.sets.push_back(i);
            names.push_back(trimmed_[i]);
        }
        // What the run is about to read, taken before it starts.
        const std::size_t epoch = movedNames_.size();
        for (const std::size_t i : run.sets) {
            sets_[i].file = platform::IdentifyFile(SetPath(i));
            sets_[i].batchEpoch = epoch;
        }
        if (!run.child.Start(mame::SeveralSetCommand(in_.appDir, in_.exeName, names), true,
                             false)) {
            StopSeveralSetRuns();
            return false;
        }
        for (const std::size_t i : run.sets) sets_[i].batch = Batch::Asked;
        unasked_ -= run.sets.size();
        ++result_.severalSetRuns;
        runs_.push_back(std::move(run));
        return true;
    }

    // Only what the emulator ended by itself, in the form expected, is read.
    // Until one run has answered so, a run that did not means an emulator that
    // does not: no more runs. After that, only that run's sets get their own checks.
    void FinishSeveralSetRun(SeveralSetRun& run) {
        const bool exited = run.child.Finish().exited;
        const std::string text = run.child.TakeText();
        std::vector<std::string> asked;
        asked.reserve(run.sets.size());
        for (const std::size_t i : run.sets) asked.push_back(trimmed_[i]);
        const mame::SeveralSetVerdicts verdicts = mame::ReadSeveralSetVerdicts(text, asked);
        const bool answered = exited && verdicts.understood;
        for (const std::size_t i : run.sets)
            sets_[i].batch =
                answered && verdicts.good.count(trimmed_[i]) ? Batch::Good : Batch::Missing;
        if (answered)
            trusted_ = true;
        else if (!trusted_)
            StopSeveralSetRuns();
    }

    // No more runs over several sets: every set not called good gets its own check.
    void StopSeveralSetRuns() {
        for (SeveralSetRun& run : runs_) {
            run.child.Kill();
            for (const std::size_t i : run.sets) sets_[i].batch = Batch::Missing;
        }
        runs_.clear();
        AskNoMore();
        result_.severalSetRunsStopped = true;
    }

    void AskNoMore() {
        for (SetState& set : sets_)
            if (set.batch == Batch::Unasked) set.batch = Batch::Missing;
        unasked_ = 0;
    }

    // Nothing from this set on is dealt with; the sets before it still are,
    // as they would have been one after the other. No new runs over several
    // sets start: the sets not asked yet get their own checks.
    void StartFailed(std::size_t i, const std::string& program, int err) {
        if (!stopAt_ || i < *stopAt_) {
            stopAt_ = i;
            result_.emulatorPath = program;
            result_.startErrno = err;
        }
        AskNoMore();
        for (std::size_t k = running_.size(); k-- > 0;) {
            if (running_[k].index < i) continue;
            running_[k].child.Kill();
            sets_[running_[k].index].phase = Phase::Waiting;
            running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(k));
        }
    }

    void Poll() {
        std::vector<const platform::ChildCapture*> captures;
        captures.reserve(Busy() + 1);
        for (const Check& c : running_) captures.push_back(&c.child);
        for (const SeveralSetRun& run : runs_) captures.push_back(&run.child);
        captures.push_back(probe_.Running());
        const std::vector<bool> ready = platform::WaitForOutput(captures, kPollMs);
        const std::size_t checks = running_.size();

        std::vector<SeveralSetRun> finished;
        for (std::size_t k = runs_.size(); k-- > 0;) {
            if (!ready[checks + k] || runs_[k].child.ReadAvailable()) continue;
            finished.push_back(std::move(runs_[k]));
            runs_.erase(runs_.begin() + static_cast<std::ptrdiff_t>(k));
        }
        for (SeveralSetRun& run : finished) FinishSeveralSetRun(run);

        for (std::size_t k = checks; k-- > 0;) {
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
    const std::size_t batchSize_;
    std::vector<std::string> trimmed_;
    std::vector<SetState> sets_;
    std::vector<Check> running_;
    std::vector<SeveralSetRun> runs_;      // runs over several sets in flight
    std::size_t unasked_ = 0;              // sets still Unasked
    std::size_t nextUnasked_ = 0;          // no Unasked set before it
    bool trusted_ = false;                 // a run has answered in the form expected
    std::vector<std::string> movedNames_;  // trimmed names of the sets moved, in order
    std::unordered_set<std::string> movedFiles_;
    std::size_t head_ = 0;               // sets before it are dealt with
    std::optional<std::size_t> stopAt_;  // the emulator could not be started for it
    DependencyProbe probe_;
    RomAuditResult result_;
};

}  // namespace

int DefaultAuditParallelism() { return platform::ProcessorCount(); }

RomAuditResult RunRomAudit(const RomAuditInput& input, AuditProgress& progress) {
    return Audit(input, progress).Run();
}

}  // namespace lorvane::audit
