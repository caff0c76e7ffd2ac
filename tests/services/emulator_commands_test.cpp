#include "emulator_commands.h"

#include <gtest/gtest.h>

#include "standin.h"
#include "temp_dir.h"

namespace lorvane::test {
namespace {

// Blanks in the directory and a name that looks like a shell line stay one
// program path; options split on blanks; the verdict needs the exact phrase.
TEST(EmulatorCommands, CommandsRunAsBuiltAndAreJudgedByTheExactPhrase) {
    TempDir dir;
    const std::string odd = "mame -listfull; rm x", appDir = dir.Str() + "/My Games";
    std::filesystem::create_directories(appDir + "/" + odd + ".verify");
    InstallStandIn(appDir, odd);
    WriteFile(appDir + "/" + odd + ".listfull", "pong  \"Pong\"\n");
    WriteFile(appDir + "/" + odd + ".verify/pong", "romset pong is best available\n1 romsets found, 1 were OK.\n");
    const auto run = [](const CommandLine& argv) { return MGetCmdOutput::GetCmdOutput(argv, true, true, false); };
    EXPECT_EQ(run(ListFullCommand(appDir, odd)), "pong  \"Pong\"\n");
    EXPECT_TRUE(VerdictPasses(run(VerifyCommand(appDir, odd, " pong ", "  -joy -x "))));
    EXPECT_FALSE(VerdictPasses(run(VerifyCommand(appDir, odd, "pacman", ""))));
    EXPECT_EQ(StandInArgs(appDir, odd), "-listfull\npong\t-joy\t-x\t-verifyroms\npacman\t-verifyroms\n");
    EXPECT_EQ(LaunchCommand("", "mame", "  ", " -hotrodse"), (CommandLine{"mame", "-hotrodse"}));
    for (const char* no : {"1 romsets found, 1 were ok.", "1 romsets found,  1 were OK."}) EXPECT_FALSE(VerdictPasses(no));
}

}  // namespace
}  // namespace lorvane::test
