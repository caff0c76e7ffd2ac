#include "audit/dependency_probe.h"

#include <unordered_set>

#include "mame/commands.h"

namespace lorvane::audit {
namespace {

// A machine list query that takes longer than this is given up.
constexpr auto kListXmlTimeout = std::chrono::seconds(120);

}  // namespace

void DependencyProbe::Begin(const std::string& appDir, const std::string& exeName,
                            const std::vector<std::string>& names) {
    appDir_ = appDir;
    exeName_ = exeName;
    std::unordered_set<std::string> seen;
    std::vector<std::string> batch;
    for (const std::string& name : names) {
        // No name would list every machine; a leading "-" would be an option.
        if (name.empty() || name.front() == '-' || !seen.insert(name).second) continue;
        batch.push_back(name);
        if (batch.size() == mame::kListXmlBatch)
            batches_.push_back(std::move(batch)), batch.clear();
    }
    if (!batch.empty()) batches_.push_back(std::move(batch));
    began_ = Clock::now();
    StartNext();
}

void DependencyProbe::OnReadable() {
    if (state_ != State::Running || child_.ReadAvailable()) return;
    child_.Finish();
    deps_.Add(child_.TakeText());
    StartNext();
}

void DependencyProbe::CheckTimeout() {
    if (state_ == State::Running && Clock::now() - batchStarted_ > kListXmlTimeout) GiveUp();
}

void DependencyProbe::Stop() {
    if (state_ == State::Running) GiveUp();
}

void DependencyProbe::StartNext() {
    if (next_ == batches_.size()) {
        Finish(deps_.Empty() ? State::Failed : State::Done);
        return;
    }
    batchStarted_ = Clock::now();
    if (!child_.Start(mame::ListXmlCommand(appDir_, exeName_, batches_[next_++]))) {
        Finish(State::Failed);
        return;
    }
    state_ = State::Running;
}

void DependencyProbe::GiveUp() {
    child_.Kill();
    Finish(State::Failed);
}

void DependencyProbe::Finish(State state) {
    state_ = state;
    seconds_ = std::chrono::duration<double>(Clock::now() - began_).count();
}

}  // namespace lorvane::audit
