#include "wait_seconds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <stdexcept>

namespace lorvane {
namespace {

struct Pump : EventPump {
    void DoEvents() override {
        ++pumps;
        if (fail) throw std::runtime_error("handler failed");
    }
    int pumps = 0;
    bool fail = false;
};

// A wait lasts its time, pumps only when asked, and a failing handler ends it quietly.
TEST(WaitSeconds, WaitsTheTimeAskedAndEndsQuietlyOnAFailure) {
    Pump over, quiet, failing;
    for (const float seconds : {-1.5f, std::nanf("")}) Clean_code::WaitSeconds(seconds, true, over);
    const auto start = std::chrono::steady_clock::now();
    Clean_code::WaitSeconds(0.2f, false, quiet);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    failing.fail = true;
    EXPECT_NO_THROW(Clean_code::WaitSeconds(5.0f, true, failing));
    EXPECT_EQ(std::vector<int>({over.pumps, quiet.pumps, failing.pumps}), std::vector<int>({0, 0, 1}));
}

}  // namespace
}  // namespace lorvane
