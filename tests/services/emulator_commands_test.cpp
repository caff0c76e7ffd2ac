#include "emulator_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "standin.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

using CL = CommandLine;

TEST(EmulatorCommands, BuildsArgumentVectors) {
    EXPECT_EQ(ListFullCommand("/opt/lv", "mame"), (CL{"/opt/lv/mame", "-listfull"}));
    EXPECT_EQ(JoinAppPath("/opt/lv/", "mame"), "/opt/lv/mame");
    EXPECT_EQ(JoinAppPath("/", "mame"), "/mame");
    EXPECT_EQ(JoinAppPath("", "mame"), "mame");

    EXPECT_EQ(LaunchCommand("/a", "mame", "pacman", ""), (CL{"/a/mame", "pacman"}));
    EXPECT_EQ(LaunchCommand("/a", "mame", "pacman", " -joy"), (CL{"/a/mame", "pacman", "-joy"}));
    EXPECT_EQ(LaunchCommand("/a", "mame", "pacman", " -hotrod"), (CL{"/a/mame", "pacman", "-hotrod"}));
    EXPECT_EQ(LaunchCommand("/a", "mame", "  pacman  ", " -hotrodse"),
              (CL{"/a/mame", "pacman", "-hotrodse"}));
    EXPECT_EQ(LaunchCommand("/a", "mame", "pacman", "  -joy   -x "), (CL{"/a/mame", "pacman", "-joy", "-x"}));
    EXPECT_EQ(VerifyCommand("/a", "mame", "pacman", " -joy"),
              (CL{"/a/mame", "pacman", "-joy", "-verifyroms"}));
    EXPECT_EQ(VerifyCommand("/a", "mame", "pong", ""), (CL{"/a/mame", "pong", "-verifyroms"}));

    // Blanks in the directory or the name never split the program path.
    EXPECT_EQ(ListFullCommand("/home/x/My Games", "mame"), (CL{"/home/x/My Games/mame", "-listfull"}));
    EXPECT_EQ(LaunchCommand("/a", "mame -listfull; rm x", "pacman", ""),
              (CL{"/a/mame -listfull; rm x", "pacman"}));
}

TEST(EmulatorCommands, VerdictIsTheExactPhrase) {
    EXPECT_TRUE(VerdictPasses("romset pong is best available\n1 romsets found, 1 were OK.\n"));
    EXPECT_TRUE(VerdictPasses("x1 romsets found, 1 were OKx"));
    EXPECT_FALSE(VerdictPasses("1 romsets found, 0 were OK.\n"));
    EXPECT_FALSE(VerdictPasses("1 romsets found, 1 were ok.\n"));
    EXPECT_FALSE(VerdictPasses("1 romsets found,  1 were OK.\n"));
    EXPECT_FALSE(VerdictPasses(""));
}

TEST(EmulatorCommands, CommandsRunThroughCaptureAsBuilt) {
    test::TempDir dir;
    const std::filesystem::path appDir = dir / "My Games";
    std::filesystem::create_directory(appDir);
    const std::string odd = "mame -listfull; rm x";
    test::InstallStandIn(appDir, odd);
    test::WriteFile(appDir / (odd + ".listfull"), "Name:  Description:\npong  \"Pong\"\n");
    std::filesystem::create_directory(appDir / (odd + ".verify"));
    test::WriteFile(appDir / (odd + ".verify") / "pong", "romset pong is best available\n1 romsets found, 1 were OK.\n");

    EXPECT_EQ(MGetCmdOutput::GetCmdOutput(ListFullCommand(appDir.string(), odd), true, true, false),
              "Name:  Description:\npong  \"Pong\"\n");
    EXPECT_TRUE(VerdictPasses(
        MGetCmdOutput::GetCmdOutput(VerifyCommand(appDir.string(), odd, " pong ", " -joy"), true, true, false)));
    EXPECT_FALSE(VerdictPasses(
        MGetCmdOutput::GetCmdOutput(VerifyCommand(appDir.string(), odd, "pacman", ""), true, true, false)));
    EXPECT_EQ(test::StandInArgs(appDir, odd), "-listfull\npong\t-joy\t-verifyroms\npacman\t-verifyroms\n");
}

}  // namespace
}  // namespace lorvane
