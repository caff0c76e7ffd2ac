// The installed program with Debian's real emulator, both with the same HOME
// (a temporary folder) and neither given -inipath: they agree on every folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "form/main_form.h"
#include "form/system_emulator_setup.h"
#include "mame/system_emulator.h"
#include "platform/command_capture.h"
#include "support/app_dir_test.h"
#include "support/real_emulator.h"
#include "support/scoped_variable.h"

namespace lorvane::form {
namespace {

namespace fs = std::filesystem;
using namespace test;
using platform::RunCapture;
using Strings = std::vector<std::string>;

class InstalledRealEmulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!RealEmulatorAvailable() || !fs::exists("/etc/mame/mame.ini"))
            GTEST_SKIP() << "no " << kRealEmulator << " with /etc/mame/mame.ini";
        // The installed program starts the emulator in the home.
        fs::current_path(home_.Path());
    }
    void TearDown() override { fs::current_path(previous_); }

    // The value of one option as the emulator itself reports it, each folder
    // made absolute as the emulator would take it, ending with "/".
    Strings EmulatorsOwnFolders(const std::string& option) {
        const platform::CaptureResult shown =
            RunCapture({kRealEmulator, "-showconfig"}, true, false);
        std::string value;
        std::istringstream lines(shown.text);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(option + " ", 0) == 0)
                value = line.substr(line.find_first_not_of(' ', option.size()));
        Strings folders;
        std::istringstream entries(value);
        for (std::string entry; std::getline(entries, entry, ';');) {
            if (entry.rfind("$HOME", 0) == 0) entry = home_.Str() + entry.substr(5);
            if (entry.front() != '/') entry = home_.Str() + "/" + entry;
            folders.push_back(entry + "/");
        }
        return folders;
    }

    fs::path previous_ = fs::current_path();
    TempDir home_, data_, target_;
    ScopedVariable homeVar_{"HOME", home_.Str()};
    // A root shell's PATH: the emulator is found in /usr/games all the same.
    ScopedVariable pathVar_{"PATH", "/usr/bin:/bin"};
};

// What Lorvane reads is what `mame -showconfig` says the emulator uses: with
// Debian's file alone, and with a user's file that names other folders.
TEST_F(InstalledRealEmulatorTest, TheFoldersAreTheOnesTheEmulatorReports) {
    const auto ours = [&] {
        return mame::ReadSystemEmulatorFolders(home_.Str(), mame::kSystemBuiltInIniPath);
    };
    EXPECT_EQ(ours().romFolders, EmulatorsOwnFolders("rompath"));
    EXPECT_EQ(Strings{ours().snapshotFolder}, EmulatorsOwnFolders("snapshot_directory"));

    fs::create_directories(home_ / ".mame");
    WriteFile(home_ / ".mame" / "mame.ini", "rompath   $HOME/other_roms;arcade\n");
    EXPECT_EQ(ours().romFolders, (Strings{home_.Str() + "/other_roms/", home_.Str() + "/arcade/"}));
    EXPECT_EQ(ours().romFolders, EmulatorsOwnFolders("rompath"));
    EXPECT_EQ(Strings{ours().snapshotFolder}, EmulatorsOwnFolders("snapshot_directory"));
}

// Sets in ~/mame/roms are listed; each check says what one run by hand says;
// the preview shows ~/.mame/snap/NAME.png; the audit moves the bad set out of
// ~/mame/roms; a user's own rompath then replaces the system's.
TEST_F(InstalledRealEmulatorTest, SetsInTheHomeAreListedCheckedPreviewedAndAudited) {
    const fs::path roms = home_ / "mame" / "roms";
    fs::create_directories(roms);
    for (const char* set : {"pong", "breakout", "pacman"})
        WriteFile(roms / (std::string(set) + ".zip"), kEmptyZip);
    // The emulator writes its snapshot where its own ini says.
    RunCapture({kRealEmulator, "pong", "-video", "none", "-sound", "none", "-seconds_to_run", "2",
                "-snapname", "%g"},
               true, true);
    ASSERT_TRUE(fs::exists(home_ / ".mame" / "snap" / "pong.png"));

    FakeUi ui;
    MainForm form((data_ / "lorvane").string(), ui);
    fs::create_directories(data_ / "lorvane");
    form.UseEmulatorSetup(SystemEmulatorSetup(home_.Str()));
    form.OnActivated();
    ASSERT_EQ(ListedSets(form), (std::set<std::string>{"breakout", "pacman", "pong"}));
    EXPECT_EQ(ui.inputs.size(), 0u);
    form.TogglePreview();
    ExpectLaunchesAsChecksByHand(form, ui, kRealEmulator, home_.Str() + "/.mame/snap", "pong");

    ui.folderAnswer = target_.Str();
    form.MoveBadRomSets();
    EXPECT_EQ(ListDir(roms), "breakout.zip pong.zip");
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt pacman.zip");
    EXPECT_EQ(ListedSets(form), (std::set<std::string>{"breakout", "pong"}));

    fs::create_directories(home_ / "other");
    WriteFile(home_ / "other" / "galaga.zip", kEmptyZip);
    fs::create_directories(home_ / ".mame");
    WriteFile(home_ / ".mame" / "mame.ini", "rompath $HOME/other\n");
    form.RebuildGameList();
    EXPECT_EQ(ListedSets(form), (std::set<std::string>{"galaga"}));
}

}  // namespace
}  // namespace lorvane::form
