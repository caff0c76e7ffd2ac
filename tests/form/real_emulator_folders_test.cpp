// Debian's emulator and the window sharing a mame.ini written the emulator's way:
// a quoted value with a blank, and $HOME in the ROM path.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "form/main_form.h"
#include "mame/commands.h"
#include "mame/rom_name.h"
#include "platform/command_capture.h"
#include "support/app_dir_test.h"
#include "support/real_emulator.h"
#include "support/scoped_variable.h"

namespace lorvane::form {
namespace {

namespace fs = std::filesystem;
using namespace test;
using platform::RunCapture;

const std::string kEmptyZip = std::string("PK\x05\x06", 4) + std::string(18, '\0');

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
    WindowState& st = form.State();
    const auto listed = [&] {
        std::set<std::string> names;
        for (int i = 0; i < st.gameList.Count(); ++i)
            names.insert(mame::ExtractRomName(st.gameList.Entry(i)));
        return names;
    };
    ASSERT_EQ(listed(), (std::set<std::string>{"breakout", "galaga", "pacman", "pong"}));
    EXPECT_EQ(st.snapshotFolder, App() + "/my snaps/");

    std::set<std::string> passed;
    for (int i = 0; i < st.gameList.Count(); ++i) {
        const std::string name = mame::ExtractRomName(st.gameList.Entry(i));
        const platform::CaptureResult byHand =
            RunCapture({App() + "/mame", name, "-verifyroms"}, true, true);
        ui.messages.clear();
        ui.starts.clear();
        st.gameList.Select(i);
        form.LaunchSelectedGame();
        if (!ui.starts.empty()) passed.insert(name);
        EXPECT_EQ(ui.starts.empty(), !mame::VerdictPasses(byHand.text)) << name;
        if (ui.starts.empty()) {
            ASSERT_EQ(ui.messages.size(), 1u) << name;
            EXPECT_EQ(ui.messages[0].text, byHand.text) << name;
        }

        form.ShowSnapshotOfSelectedGame();
        EXPECT_EQ(st.snapshotPane.page,
                  name == "pong" ? App() + "/my snaps/pong.png" : "about:blank")
            << name;
    }
    EXPECT_EQ(passed, (std::set<std::string>{"breakout", "pong"}));

    ui.messages.clear();
    ui.folderAnswer = target.Str();
    form.MoveBadRomSets();
    EXPECT_EQ(ListDir(myRoms), "pong.zip");
    EXPECT_EQ(ListDir(homeRoms), "breakout.zip pacman.zip");
    EXPECT_TRUE(fs::exists(target / "galaga.zip"));
    EXPECT_EQ(listed(), (std::set<std::string>{"breakout", "pacman", "pong"}));
}

}  // namespace
}  // namespace lorvane::form
