// Debian's emulator and the window sharing a mame.ini written the emulator's way:
// a quoted value with a blank, and $HOME in the ROM path.
#include <gtest/gtest.h>

#include <set>

#include "form/main_form.h"
#include "platform/command_capture.h"
#include "support/app_dir_test.h"
#include "support/real_emulator.h"
#include "support/scoped_variable.h"

namespace lorvane::form {
namespace {

namespace fs = std::filesystem;
using namespace test;
using platform::RunCapture;

class EmulatorIniTest : public AppDirTest {};

// A set in each folder is listed and checked as a check started by hand says; the
// emulator's own snapshot is previewed; the audit moves a bad set out of "my roms".
TEST_F(EmulatorIniTest, RealEmulatorAndWindowFindTheSameFolders) {
    if (!RealEmulatorAvailable()) GTEST_SKIP() << "no " << kRealEmulator;
    TempDir home, target;
    ScopedVariable homeVar("HOME", home.Str());
    WriteRealEmulatorWithOwnHome(dir_.Path());
    WriteFile(dir_ / "mame.ini",
              "homepath                  .\n"
              "rompath                   \"my roms;$HOME/mame/roms\"\n"
              "snapshot_directory        \"my snaps\"\n"
              "video                     none\n"
              "sound                     none\n");
    const fs::path myRoms = dir_ / "my roms", homeRoms = home.Path() / "mame" / "roms";
    fs::create_directories(myRoms);
    fs::create_directories(homeRoms);
    for (const char* set : {"pong", "galaga"})
        WriteFile(myRoms / (std::string(set) + ".zip"), kEmptyZip);
    for (const char* set : {"breakout", "pacman"})
        WriteFile(homeRoms / (std::string(set) + ".zip"), kEmptyZip);
    WriteFile(dir_ / "LVN_LIST.txt",
              "Name:             Description:\n"
              "breakout          \"Breakout [TTL]\"\n"
              "galaga            \"Galaga (Namco rev. B)\"\n"
              "natodef           \"NATO Defense\"\n"
              "pacman            \"Pac-Man (Midway)\"\n"
              "pong              \"Pong (Rev E) [TTL]\"\n\n");
    WriteFile(dir_ / "LVN.ini",
              "[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\n"
              "Preview_on=True\r\n");
    // The emulator writes the picture where it reads its snapshot folder.
    RunCapture({App() + "/mame", "pong", "-seconds_to_run", "2", "-snapname", "%g"}, true, true);
    ASSERT_TRUE(fs::exists(dir_ / "my snaps" / "pong.png"));

    FakeUi ui;
    MainForm form(App(), ui);
    form.OnActivated();
    ASSERT_EQ(ListedSets(form), (std::set<std::string>{"breakout", "galaga", "pacman", "pong"}));
    EXPECT_EQ(form.State().snapshotFolder, App() + "/my snaps/");
    EXPECT_EQ(ExpectLaunchesAsChecksByHand(form, ui, App() + "/mame", App() + "/my snaps", "pong"),
              (std::set<std::string>{"breakout", "pong"}));

    ui.messages.clear();
    ui.folderAnswer = target.Str();
    form.MoveBadRomSets();
    EXPECT_EQ(ListDir(myRoms), "pong.zip");
    EXPECT_EQ(ListDir(homeRoms), "breakout.zip pacman.zip");
    EXPECT_TRUE(fs::exists(target / "galaga.zip"));
    EXPECT_EQ(ListedSets(form), (std::set<std::string>{"breakout", "pacman", "pong"}));
}

}  // namespace
}  // namespace lorvane::form
