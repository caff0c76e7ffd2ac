#include "emulator_commands.h"

#include <gtest/gtest.h>

#include "standin.h"
#include "temp_dir.h"

namespace lorvane::test {
namespace {

TEST(EmulatorCommands, BuildsArgumentVectorsAndJudgesByTheExactPhrase) {
    EXPECT_EQ(JoinAppPath("/opt/lv/", "mame"), "/opt/lv/mame");
    EXPECT_EQ(JoinAppPath("/", "mame"), "/mame");
    EXPECT_EQ(JoinAppPath("", "mame"), "mame");
    EXPECT_EQ(LaunchCommand("/a", "mame", "pacman", ""), (CommandLine{"/a/mame", "pacman"}));
    EXPECT_EQ(LaunchCommand("/a", "mame", "  pacman ", "  -joy   -x "),
              (CommandLine{"/a/mame", "pacman", "-joy", "-x"}));
    EXPECT_EQ(LaunchCommand("/a", "mame", "  ", " -hotrod"), (CommandLine{"/a/mame", "-hotrod"}))
        << "a blank name became an empty argument";

    for (const char* yes : {"romset pong is best available\n1 romsets found, 1 were OK.\n", "x1 romsets found, 1 were OKx"})
        EXPECT_TRUE(VerdictPasses(yes)) << yes;
    for (const char* no : {"1 romsets found, 0 were OK.\n", "1 romsets found, 1 were ok.\n", "1 romsets found,  1 were OK.\n", ""})
        EXPECT_FALSE(VerdictPasses(no)) << no;
}

// Blanks in the directory or the name never split the program path, and the
// name adds no option: each command runs the one program with its arguments.
TEST(EmulatorCommands, CommandsRunThroughCaptureAsBuilt) {
    TempDir dir;
    const std::string odd = "mame -listfull; rm x", appDir = dir.Str() + "/My Games";
    std::filesystem::create_directories(appDir + "/" + odd + ".verify");
    InstallStandIn(appDir, odd);
    WriteFile(appDir + "/" + odd + ".listfull", "Name:  Description:\npong  \"Pong\"\n");
    WriteFile(appDir + "/" + odd + ".verify/pong", "romset pong is best available\n1 romsets found, 1 were OK.\n");
    const auto run = [](const CommandLine& argv) { return MGetCmdOutput::GetCmdOutput(argv, true, true, false); };

    EXPECT_EQ(run(ListFullCommand(appDir, odd)), "Name:  Description:\npong  \"Pong\"\n");
    EXPECT_TRUE(VerdictPasses(run(VerifyCommand(appDir, odd, " pong ", " -joy"))));
    EXPECT_FALSE(VerdictPasses(run(VerifyCommand(appDir, odd, "pacman", ""))));
    EXPECT_EQ(StandInArgs(appDir, odd), "-listfull\npong\t-joy\t-verifyroms\npacman\t-verifyroms\n");
}

}  // namespace
}  // namespace lorvane::test
