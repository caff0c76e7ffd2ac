#include "util/wait_seconds.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace lorvane::util {

void WaitSeconds(float seconds, bool pumpEvents, EventPump& pump) {
    using Clock = std::chrono::steady_clock;
    using Seconds = std::chrono::duration<double>;
    constexpr auto kPumpPause = std::chrono::milliseconds(5);
    constexpr Seconds kLongestSleep{0.1};
    try {
        const Clock::time_point start = Clock::now();
        for (;;) {
            const Seconds elapsed = Clock::now() - start;
            // Written so that NaN ends the wait too.
            if (!(elapsed.count() < static_cast<double>(seconds))) return;
            if (pumpEvents) {
                pump.ProcessPendingEvents();
                std::this_thread::sleep_for(kPumpPause);
            } else {
                std::this_thread::sleep_for(std::min(Seconds(seconds) - elapsed, kLongestSleep));
            }
        }
    } catch (...) {
        // A failure inside the wait ends it quietly, as a handler would.
    }
}

}  // namespace lorvane::util
