// The installed program's window: its files in its own folder, the emulator
// found by its command name on PATH, the folders read from the emulator's own
// ini files with relative ones taken from the folder it starts in. The
// stand-in emulator plays Debian's, and a temporary folder /etc/mame.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "form/main_form.h"
#include "form/system_emulator_setup.h"
#include "support/app_dir_test.h"
#include "support/real_emulator.h"
#include "support/scoped_variable.h"
#include "support/standin.h"

namespace lorvane::form {
namespace {

namespace fs = std::filesystem;
using namespace test;

constexpr const char* kListing =
    "Name:             Description:\n"
    "galaga            \"Galaga (Namco rev. B)\"\n"
    "natodef           \"NATO Defense\"\n"
    "pacman            \"Pac-Man (Midway)\"\n"
    "pong              \"Pong (Rev E) [TTL]\"\n";

class InstalledProgramTest : public ::testing::Test {
protected:
    InstalledProgramTest() {
        fs::create_directories(data_ / "lorvane");
        fs::create_directories(system_.Path());
        fs::create_directories(home_ / "mame" / "roms");
        InstallStandIn(bin_.Path(), "mame");
        WriteFile(bin_ / "mame.listfull", kListing);
        fs::create_directories(bin_ / "mame.verify");
        WriteFile(bin_ / "mame.verify" / "pong",
                  "romset pong is good\n1 romsets found, 1 were OK.\n");
        // Debian's /etc/mame/mame.ini, in short.
        WriteFile(system_ / "mame.ini",
                  "inipath                  $HOME/.mame;" + system_.Str() +
                      "\n"
                      "rompath                 $HOME/mame/roms;/usr/share/games/mame/roms\n"
                      "snapshot_directory      $HOME/.mame/snap\n");
    }

    void StartForm(MainForm& form) {
        form.UseEmulatorSetup(SystemEmulatorSetup(home_.Str(), system_.Str()));
        form.OnActivated();
    }
    std::string AppDir() const { return (data_ / "lorvane").string(); }
    TempDir home_, data_, system_, bin_;
    ScopedVariable homeVar_{"HOME", home_.Str()};
    ScopedVariable pathVar_{"PATH", "/nowhere:" + bin_.Str() + ":/usr/bin:/bin"};
};

// The first start of a user: the settings name "mame", the listing comes from
// the emulator found on PATH, the sets in ~/mame/roms are listed, and a game
// starts with the emulator's full path and nothing else added.
TEST_F(InstalledProgramTest, FirstStartFindsTheEmulatorOnPathAndListsTheUsersSets) {
    for (const char* set : {"pong", "pacman", "nosuch"})
        WriteFile(home_ / "mame" / "roms" / (std::string(set) + ".zip"), "");
    FakeUi ui;
    MainForm form(AppDir(), ui);
    StartForm(form);

    EXPECT_EQ(ui.inputs.size(), 0u);
    EXPECT_EQ(ReadFile(data_ / "lorvane" / "LVN.ini"),
              "[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\n"
              "Preview_on=False\r\n");
    EXPECT_EQ(ReadFile(data_ / "lorvane" / "LVN_LIST.txt"), std::string(kListing) + "\r\n");
    EXPECT_EQ(ListedSets(form), (std::set<std::string>{"pacman", "pong"}));
    EXPECT_EQ(form.State().caption, "Lorvane   (romcount = 2)");
    EXPECT_EQ(form.State().snapshotFolder, home_.Str() + "/.mame/snap/");
    EXPECT_EQ(StandInArgs(bin_.Path(), "mame"), "-listfull\n");

    form.State().gameList.Select(1);  // "Pong (Rev E) [TTL]"
    form.LaunchSelectedGame();
    ASSERT_EQ(ui.starts.size(), 1u);
    EXPECT_EQ(ui.starts[0], (platform::CommandLine{bin_.Str() + "/mame", "pong"}));
    EXPECT_EQ(StandInArgs(bin_.Path(), "mame"), "-listfull\npong\t-verifyroms\n");
}

// Not found on PATH nor in /usr/games: the question takes a name on PATH or a
// full path, and the answer is kept; a name found nowhere ends the program
// with a message that says where it was looked for.
TEST_F(InstalledProgramTest, TheQuestionTakesANameOnPathOrAFullPath) {
    const std::string settings =
        "[Settings]\r\nMAME NAME=mame-nosuch\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\n"
        "Preview_on=False\r\n";
    WriteFile(data_ / "lorvane" / "LVN.ini", settings);
    WriteFile(data_ / "lorvane" / "LVN_LIST.txt", kListing);
    {
        FakeUi ui;
        ui.inputAnswers = {bin_.Str() + "/mame"};
        MainForm form(AppDir(), ui);
        StartForm(form);
        ASSERT_EQ(ui.inputs.size(), 1u);
        EXPECT_EQ(ui.inputs[0].prompt,
                  "MAME was not found on PATH or in /usr/games.\r\n"
                  "  What is your MAME executable? (a name on PATH, or its full path)");
        EXPECT_EQ(ui.inputs[0].preset, "mame");
        EXPECT_EQ(ui.closes, 0);
        EXPECT_NE(ReadFile(data_ / "lorvane" / "LVN.ini").find("MAME NAME=" + bin_.Str() + "/mame"),
                  std::string::npos);
    }
    for (const std::string& answer : {std::string("mame-nosuch"), std::string("bin/mame"),
                                      std::string("  "), bin_.Str() + "/mame.listfull"}) {
        FakeUi ui;
        ui.inputAnswers = {answer};
        WriteFile(data_ / "lorvane" / "LVN.ini", settings);
        MainForm form(AppDir(), ui);
        StartForm(form);
        EXPECT_EQ(ui.closes, 1) << answer;
        ASSERT_EQ(ui.messages.size(), 1u) << answer;
        EXPECT_EQ(ui.messages[0].title, "MAME Executable not found!");
        EXPECT_EQ(ui.messages[0].text,
                  "The MAME executable was not found on PATH, in /usr/games or at the path given");
    }
}

// The audit moves sets only out of the user's own folders: a first ROM folder
// under /usr belongs to the system's packages, and nothing is asked.
TEST_F(InstalledProgramTest, TheAuditLeavesFoldersUnderUsrAlone) {
    fs::create_directories(home_ / ".mame");
    WriteFile(home_ / ".mame" / "mame.ini", "rompath /usr/share/games/mame/roms;$HOME/mame/roms\n");
    WriteFile(home_ / "mame" / "roms" / "pong.zip", "");
    FakeUi ui;
    MainForm form(AppDir(), ui);
    StartForm(form);
    ui.messages.clear();
    form.MoveBadRomSets();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Rom audit not started");
    EXPECT_NE(ui.messages[0].text.find("/usr/share/games/mame/roms/, lies under /usr"),
              std::string::npos)
        << ui.messages[0].text;
    EXPECT_TRUE(ui.folderInstructions.empty());

    // Nor into one: the sets stay, and nothing is made there.
    WriteFile(home_ / ".mame" / "mame.ini", "rompath $HOME/mame/roms\n");
    ui.messages.clear();
    ui.folderAnswer = "/usr/share/lorvane-bad-roms";
    form.MoveBadRomSets();
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text,
              "The bad rom sets cannot be moved into /usr/share/lorvane-bad-roms: it lies under "
              "/usr, which belongs to the system's packages.\r\nExiting rom audit");
    EXPECT_EQ(ListDir(home_ / "mame" / "roms"), "pong.zip");
    EXPECT_FALSE(fs::exists("/usr/share/lorvane-bad-roms"));
}

}  // namespace
}  // namespace lorvane::form
