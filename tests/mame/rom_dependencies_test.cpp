#include "mame/rom_dependencies.h"

#include <gtest/gtest.h>

#include <string_view>

#include "platform/command_capture.h"
#include "support/real_emulator.h"

namespace lorvane::mame {
namespace {

using test::kRealEmulator;
using test::RealEmulatorAvailable;

// Debian's machine list: a clone reads its parent, a Neo Geo set its BIOS, a machine its devices.
TEST(RomDependencies, RealMachineList) {
    if (!RealEmulatorAvailable()) GTEST_SKIP() << "no " << kRealEmulator;
    RomDependencies deps;
    deps.Add(std::string_view(
        platform::RunCapture({kRealEmulator, "-listxml", "pacman", "puckman", "mslug"}, true, false)
            .text));
    EXPECT_TRUE(deps.MayDependOn("pacman", "puckman") && deps.MayDependOn("mslug", "neogeo"));
    EXPECT_TRUE(deps.MayDependOn("pacman", "z80"));
    EXPECT_FALSE(deps.MayDependOn("puckman", "pacman") || deps.MayDependOn("pacman", "mslug"));
}

}  // namespace
}  // namespace lorvane::mame
