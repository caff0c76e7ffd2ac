#pragma once
// Asks the emulator which sets each audited set reads (its machine list), one
// batch of names after the other, while the audit's checks run beside it.
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "mame/rom_dependencies.h"
#include "platform/command_capture.h"

namespace lorvane::audit {

class DependencyProbe {
public:
    enum class State { Idle, Running, Done, Failed };

    // Starts the first query; names that are empty, listed before or look like
    // an option are not asked.
    void Begin(const std::string& appDir, const std::string& exeName,
               const std::vector<std::string>& names);

    State GetState() const { return state_; }
    const mame::RomDependencies& Dependencies() const { return deps_; }
    double SecondsSpent() const { return seconds_; }
    // The running machine list query, if any, for the caller's wait.
    const platform::ChildCapture* Running() const {
        return state_ == State::Running ? &child_ : nullptr;
    }

    // The running query's pipe is ready: reads it, and at its end takes its
    // answer and starts the next query.
    void OnReadable();
    // Gives up a query that has run too long.
    void CheckTimeout();
    void Stop();

private:
    using Clock = std::chrono::steady_clock;

    void StartNext();
    void GiveUp();
    void Finish(State state);

    std::string appDir_, exeName_;
    std::vector<std::vector<std::string>> batches_;
    std::size_t next_ = 0;
    platform::ChildCapture child_;
    mame::RomDependencies deps_;
    State state_ = State::Idle;
    Clock::time_point began_, batchStarted_;
    double seconds_ = 0;
};

}  // namespace lorvane::audit
