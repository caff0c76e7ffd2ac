// The capture on every system: streams chosen, bytes unchanged past a pipe's
// size, every writer waited for.
#include "child_test.h"

namespace lorvane::platform {
namespace {

TEST_F(ChildTest, CaptureKeepsEveryByteInArrivalOrder) {
    EXPECT_EQ(Text("interleave"), "out1\nerr1\nout2\nerr2\n");
    EXPECT_EQ(Text("interleave", "", false), "out1\nout2\n");
    std::string bytes(3 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
    EXPECT_TRUE(Text("", bytes) == bytes) << "the bytes came back altered";
    EXPECT_EQ(RunCapture({Emu("grandchild")}, true, true).text, "late\n")
        << "returned before the grandchild let go";
}

}  // namespace
}  // namespace lorvane::platform
