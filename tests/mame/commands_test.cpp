#include "mame/commands.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/command_capture.h"
#include "platform/paths.h"
#include "support/standin.h"
#include "support/temp_dir.h"

namespace lorvane::mame {
namespace {

using namespace test;

// Blanks in the directory and a shell-like name stay one path; the verdict needs the exact phrase.
TEST(EmulatorCommands, CommandsRunAsBuiltAndAreJudgedByTheExactPhrase) {
    TempDir dir;
    // A name a shell would take for two commands; on Windows the program needs its ".exe".
    const std::string odd =
        std::string("mame -listfull; rm x") + (platform::kProgramsHaveExtension ? ".exe" : "");
    const std::string appDir = Utf8(dir.Path() / "My Games");
    std::filesystem::create_directories(dir.Path() / "My Games");
    InstallStandIn(PathOf(appDir), odd);
    for (const CommandLine& argv :
         {ListFullCommand(appDir, odd), VerifyCommand(appDir, odd, " pong ", "  -joy -x "),
          SeveralSetCommand(appDir, odd, {"a", "b"}), ListXmlCommand(appDir, odd, {"c"})})
        platform::RunCapture(argv, true, true);
    EXPECT_EQ(StandInArgs(PathOf(appDir), odd),
              "-listfull\npong\t-joy\t-x\t-verifyroms\n-verifyroms\ta\tb\n-listxml\tc\n");
    EXPECT_FALSE(VerdictPasses("romset pong is best available\n1 romsets found, 1 were ok.\n"));
}

}  // namespace
}  // namespace lorvane::mame
