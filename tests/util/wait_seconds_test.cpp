#include "util/wait_seconds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <utility>

namespace lorvane::util {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A wait lasts its time, pumps only when asked; a failing handler ends it quietly.
TEST(WaitSeconds, WaitsTheTimeAskedAndEndsQuietlyOnAFailure) {
    struct Pump : EventPump {
        void ProcessPendingEvents() override {
            ++pumps, throw std::runtime_error("handler failed");
        }
        int pumps = 0;
    } idle, failing;
    const auto start = Clock::now();
    WaitSeconds(0.2f, false, idle);
    WaitSeconds(-1.5f, true, idle);
    EXPECT_GE(Clock::now() - start, 200ms);
    EXPECT_NO_THROW(WaitSeconds(5.0f, true, failing));
    EXPECT_EQ(std::pair(idle.pumps, failing.pumps), std::pair(0, 1));
}

}  // namespace
}  // namespace lorvane::util
