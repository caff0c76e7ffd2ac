#include "wait_seconds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <stdexcept>

namespace lorvane {
namespace {

using Clean_code::WaitSeconds;

struct CountingPump : EventPump {
    void DoEvents() override {
        ++pumps;
        if (fail) throw std::runtime_error("handler failed");
    }
    int pumps = 0;
    bool fail = false;
};

double TimedWait(float seconds, bool pumpEvents, EventPump& pump) {
    const auto start = std::chrono::steady_clock::now();
    WaitSeconds(seconds, pumpEvents, pump);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(WaitSeconds, WaitThatIsOverPumpsNothing) {
    CountingPump pump;
    WaitSeconds(0.0f, true, pump);
    WaitSeconds(-1.5f, true, pump);
    WaitSeconds(std::nanf(""), true, pump);
    EXPECT_EQ(pump.pumps, 0);
}

TEST(WaitSeconds, WaitsAtLeastTheTimeAsked) {
    CountingPump pump;
    EXPECT_GE(TimedWait(0.2f, true, pump), 0.2);
    EXPECT_GE(pump.pumps, 2);

    CountingPump idle;
    EXPECT_GE(TimedWait(0.2f, false, idle), 0.2);
    EXPECT_EQ(idle.pumps, 0);
}

TEST(WaitSeconds, FailureInsideEndsTheWaitQuietly) {
    CountingPump pump;
    pump.fail = true;
    EXPECT_NO_THROW(WaitSeconds(5.0f, true, pump));
    EXPECT_EQ(pump.pumps, 1);
}

}  // namespace
}  // namespace lorvane
