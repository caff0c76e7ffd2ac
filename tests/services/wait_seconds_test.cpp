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

TEST(WaitSeconds, WaitsTheTimeAskedPumpingOnlyWhenAskedAndEndsQuietlyOnAFailure) {
    CountingPump over;
    for (const float seconds : {0.0f, -1.5f, std::nanf("")}) WaitSeconds(seconds, true, over);
    EXPECT_EQ(over.pumps, 0) << "a wait that is over pumped";
    for (const bool pumping : {true, false}) {
        CountingPump pump;
        const auto start = std::chrono::steady_clock::now();
        WaitSeconds(0.2f, pumping, pump);
        EXPECT_GE(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.2);
        EXPECT_TRUE(pumping ? pump.pumps >= 2 : pump.pumps == 0) << pump.pumps << " pumps";
    }
    CountingPump failing;
    failing.fail = true;
    EXPECT_NO_THROW(WaitSeconds(5.0f, true, failing));
    EXPECT_EQ(failing.pumps, 1) << "the wait went on after a failure";
}

}  // namespace
}  // namespace lorvane
