// The window's handlers on the model, with a recording screen and the stand-in
// emulator: start-up, launch, export, default settings, and the list they work
// on. Type-ahead, preview, menus and layout are driven through the real view in
// tests/view.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "app_dir_fixture.h"
#include "combo_box.h"
#include "file_io.h"
#include "main_form.h"
#include "standin.h"

namespace lorvane::test {
namespace {

namespace fs = std::filesystem;

TEST(ComboBox, KeepsEntriesSortedWithoutRegardToCaseAndTheSelectionOnItsEntry) {
    ComboBox list;
    // The selected entry is one of four equal ones; the others come one by one, then at once.
    list.AddItems({"zaxxon    [zaxxon]", "Pong    [pong]"});
    list.SetListIndex(0);
    for (const char* e : {"Pong    [pong]", "pac-man    [pacman]", "1942    [1942]", "Galaxian    [galaxian]"})
        list.AddItem(e);
    list.AddItems({"PAC-MAN    [puckman]", "Pong    [pong]", "    [noname]", "galaga    [galaga]",
                   "PONG    [pong]"});
    EXPECT_EQ(list.Entries(), (Strings{"    [noname]", "1942    [1942]", "galaga    [galaga]",
                                       "Galaxian    [galaxian]", "pac-man    [pacman]", "PAC-MAN    [puckman]",
                                       "PONG    [pong]", "Pong    [pong]", "Pong    [pong]", "Pong    [pong]",
                                       "zaxxon    [zaxxon]"}));
    EXPECT_EQ(list.ListIndex(), 7) << "entries added equal to the selected one go after it";
    const auto before = list.EntriesRevision();
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_GT(list.EntriesRevision(), before);
}

const char* const kListing =
    "Name:             Description:\n"
    "pong              \"Pong (Rev E) [TTL]\"\n"
    "breakout          \"Breakout [TTL]\"\n"
    "natodef           \"NATO Defense\"\n"
    "natodefa          \"NATO Defense (alternate mazes)\"\n";
const std::string kIni =
    "[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=0\r\nPreview_on=False\r\n";
const std::string kHint = "ERROR|3|Press button on menu to create Mame data file";

class MainFormTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        fs::create_directories(dir_ / "roms");
        for (const char* zip : {"pong.zip", "natodef.zip"}) WriteFile(dir_ / "roms" / zip, "");
    }
    void Emulator(const std::string& name) {
        InstallStandIn(dir_.Path(), name);
        WriteFile(dir_ / (name + ".listfull"), kListing);
    }
    // A new window on a new screen, activated.
    const WindowState& Start(std::deque<std::string> answers = {}) {
        ui_ = FakeUi();
        ui_.inputAnswers = std::move(answers);
        form_ = std::make_unique<MAIN_form>(App(), ui_);
        form_->OnActivated();
        return form_->State();
    }

    WindowState& S() { return form_->State(); }
    // The stand-in emulator and four games listed, as after a start-up.
    void Listed() {
        Emulator("mame");
        S().MameExeName = "mame";
        S().Combo1.AddItems({"Pong (Rev E) [TTL]    [pong]", "Pac-Man (Midway)    [pacman]",
                            "Pac-Land (World)    [pacland]", "Galaga    [galaga]"});
    }
    void Launch(int index) {
        S().Combo1.SetListIndex(index);
        form_->Combo1_DblClick();
    }
    std::string NotStarted(const std::string& exe, int err) {
        return "Emulator not started|3|The emulator could not be started:\r\n" + App() + "/" + exe + "\r\n" +
               std::strerror(err);
    }

    FakeUi ui_;
    std::unique_ptr<MAIN_form> form_ = std::make_unique<MAIN_form>(App(), ui_);
};

TEST_F(MainFormTest, FirstRunWithOnlyTheEmulatorCreatesEverythingAndFillsTheList) {
    Emulator("MAME.exe");
    const WindowState& s = Start();
    EXPECT_EQ(Shown(ui_),
              (Strings{"Generating LVN.ini|0|LVN.ini not found.  A new one will be generated",
                       "Generating Game Data file|0|LVN_LIST.txt not found.  A new one will be generated.",
                       "Please be Patient|1|Please be patient as the data file is created.  This should "
                       "take approx. 5 seconds and only needs to be generated once for each new beta."}));
    EXPECT_EQ(StandInArgs(dir_.Path(), "MAME.exe"), "-listfull\n");
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), std::string(kListing) + "\r\n");
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "[Settings]\r\nMAME NAME=MAME.exe\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=False\r\n");
    EXPECT_EQ(s.caption, "Lorvane   (romcount = 3)");
    const int changes = ui_.stateChanges;
    form_->OnActivated();  // focus coming back does not run the start-up again
    EXPECT_EQ(ui_.stateChanges, changes);
}

TEST_F(MainFormTest, CancelOrBlanksAtTheExecutableQuestionEndTheProgramWithoutSaving) {
    WriteFile(dir_ / "LVN.ini", kIni);
    for (const char* answer : {"", "   "}) {
        EXPECT_EQ(Start({answer}).MameExeName, answer);
        ASSERT_EQ(ui_.inputs.size(), 1u);
        EXPECT_EQ(ui_.inputs[0].prompt,
                  "MAME was not found in the same directory as LVN.\r\n  What is your MAME executable "
                  "names?(include .exe)");
        EXPECT_EQ(ui_.inputs[0].title, "Enter your mame executable name.");
        EXPECT_EQ(ui_.inputs[0].preset, "mame.exe");
        EXPECT_EQ(Shown(ui_), Strings{"MAME Executable not found!|3|The MAME executable was not found in the "
                                      "same Directory as LVN.exe"});
        EXPECT_EQ(ui_.closes, 1);
        EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), kIni);
    }
}

TEST_F(MainFormTest, AnAnswerNamingTheEmulatorIsSavedSoTheNextStartDoesNotAsk) {
    Emulator("my emulator");
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    WriteFile(dir_ / "LVN.ini", "; mine\r\n[Settings]\r\nMAME NAME=gone.exe\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(Start({"my emulator"}).Combo1.ListCount(), 3);
    EXPECT_EQ(ui_.closes, 0);
    const std::string saved = ReadFile(dir_ / "LVN.ini");
    EXPECT_EQ(saved.rfind("; mine\r\n[Settings]\r\nMAME NAME=my emulator\r\n", 0), 0u) << saved;
    EXPECT_EQ(Start().Combo1.ListCount(), 3);
    EXPECT_TRUE(ui_.inputs.empty());
}

// "1500" as data file name, created and loaded; the preview on; the joystick
// index without a menu item dropped quietly, the window left open.
TEST_F(MainFormTest, MissingKeysReadAsFifteenHundred) {
    Emulator("mame");
    WriteFile(dir_ / "LVN.ini", "[Settings]\r\nMAME NAME=mame\r\n");
    EXPECT_EQ(Start().Combo1.ListCount(), 3);
    EXPECT_EQ(ReadFile(dir_ / "1500"), std::string(kListing) + "\r\n");
    EXPECT_EQ(ui_.closes, 0);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "[Settings]\r\nMAME NAME=mame\r\nData File Name=1500\r\nJoy=1500\r\nPreview_on=True\r\n");
}

TEST_F(MainFormTest, AFailureBeforeTheListSavesTheSettingsThenReportsAndCloses) {
    Emulator("mame");
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    WriteFile(dir_ / "LVN.ini", "[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=0.0\r\n"
                                "Preview_on=False\r\n");
    WriteFile(dir_ / "mame.ini", "rompath roms\nsnapshot_dir x\n");  // too short a snapshot line
    EXPECT_EQ(Start().Combo1.ListCount(), 0);
    ASSERT_EQ(ui_.messages.size(), 1u);
    const std::string shown = Shown(ui_)[0];
    EXPECT_EQ(shown.rfind("An Error has occurred|3|An Error has occured Err.number = 5 Err.description = ", 0), 0u)
        << shown;
    EXPECT_EQ(ui_.closes, 1);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), kIni) << "saved before the window closes";
}

TEST_F(MainFormTest, AListThatCannotBeFilledLeavesTheWindowOpen) {
    Emulator("mame");
    WriteFile(dir_ / "LVN.ini", kIni);
    fs::create_directories(dir_ / "LVN_LIST.txt");  // can be neither written nor read
    EXPECT_EQ(Start().Combo1.ListCount(), 0);
    EXPECT_EQ(Shown(ui_).back(), kHint);
    EXPECT_EQ(ui_.closes, 0);

    // One that cannot be read (made by the read seam: the tests run as root).
    fs::remove(dir_ / "LVN_LIST.txt");
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    SetReadFaultHook([](const std::string& path) { return path.ends_with("/LVN_LIST.txt") ? EACCES : 0; });
    EXPECT_EQ(Start().Combo1.ListCount(), 0);
    SetReadFaultHook(nullptr);
    EXPECT_EQ(Shown(ui_), Strings{kHint});
    EXPECT_EQ(ui_.closes, 0);
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), kListing);

    // Any other failure: the generic message, and the window stays.
    WriteFile(dir_ / "mame.ini", "rompath roms;;other\n");
    Start();
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text.rfind("An Error has occured Err.number = 5 ", 0), 0u);
    EXPECT_EQ(ui_.closes, 0);
}

TEST_F(MainFormTest, LaunchChecksTheSetWithTheJoystickOptionThenStartsIt) {
    Listed();
    fs::create_directories(dir_ / "mame.verify");
    WriteFile(dir_ / "mame.verify" / "pong", "romset pong is best available\n1 romsets found, 1 were OK.\n");
    form_->JOY_SEL_Click(0);
    Launch(3);
    form_->JOY_SEL_Click(3);
    std::int16_t enter = 13;
    form_->Combo1_KeyPress(enter);
    ui_.startResult = {false, EACCES};
    Launch(3);
    const CommandLine joy = {App() + "/mame", "pong", "-joy"}, hotrodse = {App() + "/mame", "pong", "-hotrodse"};
    EXPECT_EQ(ui_.starts, (std::vector<CommandLine>{joy, hotrodse, hotrodse}));
    EXPECT_EQ(StandInArgs(dir_.Path(), "mame"),
              "pong\t-joy\t-verifyroms\npong\t-hotrodse\t-verifyroms\npong\t-hotrodse\t-verifyroms\n");
    EXPECT_EQ(Shown(ui_), Strings{NotStarted("mame", EACCES)});

    // A failed check shows its report; nothing selected or no emulator: nothing starts.
    ui_ = FakeUi();
    Launch(2);
    Launch(-1);
    S().MameExeName = "missing";
    Launch(0);
    EXPECT_EQ(Shown(ui_),
              (Strings{"Rom Error Info|1|romset \"pacman\" not found!\n", NotStarted("missing", ENOENT)}));
    EXPECT_TRUE(ui_.starts.empty());
}

TEST_F(MainFormTest, ExportWritesEveryEntryAndReplacesTheFile) {
    Listed();
    const std::string exported = "Galaga    [galaga]\r\nPac-Land (World)    [pacland]\r\n"
                                 "Pac-Man (Midway)    [pacman]\r\nPong (Rev E) [TTL]    [pong]\r\n\r\n";
    form_->Export_ROM_list_Click();
    form_->Export_ROM_list_Click();
    EXPECT_EQ(ReadFile(dir_ / "AvailROM.txt"), exported);
    S().Combo1.Clear();
    form_->Export_ROM_list_Click();
    const std::string written = "Summary Report Written|1|Available Rom list exported to AvailROM.txt ";
    EXPECT_EQ(Shown(ui_), (Strings{written, written, "No Roms to Export List|2|No Rom to export list for"}));
    EXPECT_EQ(ReadFile(dir_ / "AvailROM.txt"), exported);
}

TEST_F(MainFormTest, DefaultSettingsAreWrittenAndLoadedWithoutTouchingTheList) {
    Listed();
    form_->Preview_Click();
    form_->JOY_SEL_Click(3);
    EXPECT_THROW(form_->JOY_SEL_Click(4), Failure);
    EXPECT_EQ(S().JOY_SEL, (std::array<bool, 4>{})) << "no item for a menu index that does not exist";
    form_->create_def_ini_Click();
    EXPECT_EQ(S().MameExeName, "MAME.exe");
    EXPECT_EQ(S().JOY_SEL, (std::array<bool, 4>{false, true, false, false}));
    EXPECT_TRUE(S().Preview) << "False in the file does not switch the preview off";
    EXPECT_EQ(S().Combo1.ListCount(), 4);
}

}  // namespace
}  // namespace lorvane::test
