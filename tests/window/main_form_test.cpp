// The window's handlers on the model with a recording screen and the stand-in emulator,
// and every file they write failed at each step. Type-ahead, preview, menus and layout
// go through the real view in tests/view.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#include "app_dir_fixture.h"
#include "combo_box.h"
#include "file_exists.h"
#include "file_io.h"
#include "main_form.h"
#include "standin.h"

namespace lorvane::test {
namespace {

namespace fs = std::filesystem;

// Sorted without regard to case; the selection stays on its entry, equal ones go after it.
TEST(ComboBox, KeepsEntriesSortedAndTheSelectionOnItsEntry) {
    ComboBox list;
    list.AddItems({"zaxxon    [zaxxon]", "Pong    [pong]"});
    list.SetListIndex(0);
    list.AddItem("pac-man    [pacman]");
    list.AddItems({"PONG    [pong]", "Galaga    [galaga]", "Pong    [pong]"});
    EXPECT_EQ(list.Entries(), (Strings{"Galaga    [galaga]", "pac-man    [pacman]", "PONG    [pong]",
                                       "Pong    [pong]", "Pong    [pong]", "zaxxon    [zaxxon]"}));
    EXPECT_EQ(list.ListIndex(), 3);
    const auto revision = list.EntriesRevision();  // the view redraws on a new revision
    list.Clear();
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_GT(list.EntriesRevision(), revision);
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
const char* const kOldIni =
    "; mine\r\n[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=0.0\r\nPreview_on=False\r\n";

std::string g_file;  // the hook is a plain function pointer: its fault lives here
const char* g_step;
int g_err, g_hits;

int InjectFault(const char* step, const std::string& path) {
    if (std::filesystem::path(path).filename() != g_file || std::strcmp(step, g_step) != 0) return 0;
    ++g_hits;
    return g_err;
}


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
    void Listed() {
        Emulator("mame");
        S().MameExeName = "mame";
        S().Combo1.AddItems({"Pong (Rev E) [TTL]    [pong]", "Pac-Man (Midway)    [pacman]", "Galaga    [galaga]"});
    }
    void Launch(int index) {
        S().Combo1.SetListIndex(index);
        form_->Combo1_DblClick();
    }
    void OldFiles() {
        Emulator("mame");
        WriteFile(dir_ / "LVN.ini", kOldIni);
        WriteFile(dir_ / "LVN_LIST.txt", std::string(kListing) + "old line\r\n");
    }
    std::string NotStarted(const std::string& exe, int err) {
        return "Emulator not started|3|The emulator could not be started:\r\n" + App() + "/" + exe + "\r\n" +
               std::strerror(err);
    }
    FakeUi ui_;
    std::unique_ptr<MAIN_form> form_ = std::make_unique<MAIN_form>(App(), ui_);
};

// First run: settings and data file made, the list filled; activation again does nothing.
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
    form_->OnActivated();
    EXPECT_EQ(ui_.stateChanges, changes);
}

// Cancel or blanks at the question end the program, nothing saved; a name with a
// blank is saved (other sections kept) and not asked again.
TEST_F(MainFormTest, TheExecutableQuestion) {
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
    Emulator("my emulator");
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    WriteFile(dir_ / "LVN.ini", "; mine\r\n[Settings]\r\nMAME NAME=gone.exe\r\n[Other]\r\nx=1\r\n");
    EXPECT_EQ(Start({"my emulator"}).Combo1.ListCount(), 3);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini").rfind("; mine\r\n[Settings]\r\nMAME NAME=my emulator\r\n", 0), 0u);
    EXPECT_EQ(Start().Combo1.ListCount(), 3);
    EXPECT_TRUE(ui_.inputs.empty());
}

// Missing keys read as "1500": that data file is made, the preview on, the window open.
TEST_F(MainFormTest, MissingKeysReadAsFifteenHundred) {
    Emulator("mame");
    WriteFile(dir_ / "LVN.ini", "[Settings]\r\nMAME NAME=mame\r\n");
    EXPECT_EQ(Start().Combo1.ListCount(), 3);
    EXPECT_EQ(ReadFile(dir_ / "1500"), std::string(kListing) + "\r\n");
    EXPECT_EQ(ui_.closes, 0);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "[Settings]\r\nMAME NAME=mame\r\nData File Name=1500\r\nJoy=1500\r\nPreview_on=True\r\n");
}

// Before the list: settings saved, then the generic message and the window closes.
// After: a data file that cannot be made or read sends to the menu; others get the
// generic message; the window stays.
TEST_F(MainFormTest, StartUpFailures) {
    Emulator("mame");
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    WriteFile(dir_ / "LVN.ini", "[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=0.0\r\n"
                                "Preview_on=False\r\n");
    WriteFile(dir_ / "mame.ini", "rompath roms\nsnapshot_dir x\n");  // too short a snapshot line
    EXPECT_EQ(Start().Combo1.ListCount(), 0);
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(Shown(ui_)[0].rfind("An Error has occurred|3|An Error has occured Err.number = 5 Err.description = ",
                                  0), 0u) << Shown(ui_)[0];
    EXPECT_EQ(ui_.closes, 1);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), kIni);

    WriteFile(dir_ / "mame.ini", "rompath roms;;other\n");
    Start();
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0].text.rfind("An Error has occured Err.number = 5 ", 0), 0u);
    EXPECT_EQ(ui_.closes, 0);
    fs::remove(dir_ / "mame.ini");
    SetReadFaultHook([](const std::string& path) { return path.ends_with("/LVN_LIST.txt") ? EACCES : 0; });
    EXPECT_EQ(Start().Combo1.ListCount(), 0);  // the read seam: the tests run as root
    SetReadFaultHook(nullptr);
    EXPECT_EQ(Shown(ui_), Strings{kHint});
    EXPECT_EQ(ui_.closes, 0);
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), kListing);
    fs::remove(dir_ / "LVN_LIST.txt");
    fs::create_directories(dir_ / "LVN_LIST.txt");  // can be neither written nor read
    EXPECT_EQ(Start().Combo1.ListCount(), 0);
    EXPECT_EQ(Shown(ui_).back(), kHint);
    EXPECT_EQ(ui_.closes, 0);
}

// Checked with the joystick option, then started; a failed check shows its report;
// nothing selected starts nothing; an emulator that cannot start says why.
TEST_F(MainFormTest, LaunchChecksTheSetWithTheJoystickOptionThenStartsIt) {
    Listed();
    fs::create_directories(dir_ / "mame.verify");
    WriteFile(dir_ / "mame.verify" / "pong", "romset pong is best available\n1 romsets found, 1 were OK.\n");
    form_->JOY_SEL_Click(0);
    Launch(2);
    form_->JOY_SEL_Click(3);
    std::int16_t enter = 13;
    form_->Combo1_KeyPress(enter);
    ui_.startResult = {false, EACCES};
    Launch(2);
    const CommandLine joy = {App() + "/mame", "pong", "-joy"}, hotrodse = {App() + "/mame", "pong", "-hotrodse"};
    EXPECT_EQ(ui_.starts, (std::vector<CommandLine>{joy, hotrodse, hotrodse}));
    EXPECT_EQ(StandInArgs(dir_.Path(), "mame"),
              "pong\t-joy\t-verifyroms\npong\t-hotrodse\t-verifyroms\npong\t-hotrodse\t-verifyroms\n");
    EXPECT_EQ(Shown(ui_), Strings{NotStarted("mame", EACCES)});
    ui_ = FakeUi();
    Launch(1);
    Launch(-1);
    S().MameExeName = "missing";
    Launch(0);
    EXPECT_EQ(Shown(ui_),
              (Strings{"Rom Error Info|1|romset \"pacman\" not found!\n", NotStarted("missing", ENOENT)}));
    EXPECT_TRUE(ui_.starts.empty());
}

// Export replaces the file with every entry; an empty list keeps the earlier file.
TEST_F(MainFormTest, ExportWritesEveryEntryAndReplacesTheFile) {
    Listed();
    WriteFile(dir_ / "AvailROM.txt", "old\r\n");
    form_->Export_ROM_list_Click();
    const std::string exported =
        "Galaga    [galaga]\r\nPac-Man (Midway)    [pacman]\r\nPong (Rev E) [TTL]    [pong]\r\n\r\n";
    EXPECT_EQ(ReadFile(dir_ / "AvailROM.txt"), exported);
    S().Combo1.Clear();
    form_->Export_ROM_list_Click();
    EXPECT_EQ(Shown(ui_), (Strings{"Summary Report Written|1|Available Rom list exported to AvailROM.txt ",
                                   "No Roms to Export List|2|No Rom to export list for"}));
    EXPECT_EQ(ReadFile(dir_ / "AvailROM.txt"), exported);
}

// Defaults written and loaded, the list untouched; "False" does not switch the preview off.
TEST_F(MainFormTest, DefaultSettingsAreWrittenAndLoadedWithoutTouchingTheList) {
    Listed();
    form_->Preview_Click();
    form_->JOY_SEL_Click(3);
    EXPECT_THROW(form_->JOY_SEL_Click(4), Failure);
    EXPECT_EQ(S().JOY_SEL, (std::array<bool, 4>{}));
    form_->create_def_ini_Click();
    EXPECT_EQ(S().MameExeName, "MAME.exe");
    EXPECT_EQ(S().JOY_SEL, (std::array<bool, 4>{false, true, false, false}));
    EXPECT_TRUE(S().Preview);
    EXPECT_EQ(S().Combo1.ListCount(), 3);
}

// The old file survives byte for byte, no temporary is left, the window stays, the user is told.
TEST_F(MainFormTest, EveryWrittenFileSurvivesEveryFailedStep) {
    OldFiles();
    const struct {
        const char *what, *file;
        const char* title;  // of the message the user gets; none: the write throws
        std::function<void(MAIN_form&)> act;
    } writers[] = {
        {"start-up", "LVN.ini", "Settings not saved", [](MAIN_form& f) { f.OnActivated(); }},
        {"launch", "LVN.ini", "Settings not saved", [](MAIN_form& f) { f.Combo1_DblClick(); }},
        {"default settings", "LVN.ini", "An Error has occurred", [](MAIN_form& f) { f.create_def_ini_Click(); }},
        {"data file", "LVN_LIST.txt", "An Error has occurred", [](MAIN_form& f) { f.MAKE_GAME_LIST_Click(); }},
        {"export", "AvailROM.txt", "Not Supported Feature", [](MAIN_form& f) { f.Export_ROM_list_Click(); }},
        {"audit report", "BadRoms.txt", nullptr,
         [](MAIN_form& f) { EXPECT_THROW(WriteFileAtomically(f.AppDir() + "/BadRoms.txt", "new"), Failure); }},
    };
    WriteFile(dir_ / "AvailROM.txt", "old export\r\n");
    WriteFile(dir_ / "BadRoms.txt", "old report\r\n");
    for (const auto& w : writers) {
        for (const char* step : {"open", "write", "sync", "rename"}) {
            for (const int err : {ENOSPC, EIO, EACCES}) {
                SCOPED_TRACE(std::string(w.what) + " / " + step + " " + std::strerror(err));
                const std::string before = ReadFile(dir_ / w.file);
                FakeUi ui;
                MAIN_form form(App(), ui);
                form.State().MameExeName = "mame";
                form.State().LVNGameList = "LVN_LIST.txt";
                form.State().Combo1.AddItem("Pong (Rev E) [TTL]    [pong]");
                form.State().Combo1.SetListIndex(0);
                g_file = w.file, g_step = step, g_err = err, g_hits = 0;
                SetWriteFaultHook(&InjectFault);
                w.act(form);
                SetWriteFaultHook(nullptr);

                EXPECT_GE(g_hits, 1) << "the write was never attempted";
                EXPECT_EQ(ReadFile(dir_ / w.file), before);
                EXPECT_EQ(ListDir(dir_.Path()).find(".tmp-"), std::string::npos) << ListDir(dir_.Path());
                EXPECT_EQ(ui.closes, 0);
                EXPECT_TRUE(!w.title || std::any_of(ui.messages.begin(), ui.messages.end(),
                                                    [&](const RecordedMessage& m) { return m.title == w.title; }));
            }
        }
    }
}

// Killed before the rename: the old file is whole, the hidden leftover never taken for it,
// and the next start goes on from the old files.
TEST_F(MainFormTest, AKilledWriterLeavesTheOldFileAndAnIgnoredLeftover) {
    OldFiles();
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        SetWriteFaultHook([](const char* step, const std::string&) {
            return std::strcmp(step, "rename") == 0 ? (_exit(9), 0) : 0;
        });
        try {
            WriteFileAtomically(App() + "/LVN.ini", "[Settings]\r\nMAME NAME=new\r\n");
        } catch (...) {
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9) << "the writer did not reach the rename";
    const std::string names = ListDir(dir_.Path());
    ASSERT_EQ(names.rfind(".LVN.ini.tmp-", 0), 0u) << names;
    EXPECT_FALSE(Clean_code::FileExists(App() + "/" + names.substr(0, names.find(' '))));
    EXPECT_FALSE(Clean_code::FileExists(App() + "/*.tmp-*"));
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), kOldIni);
    FakeUi ui;
    MAIN_form form(App(), ui);
    form.OnActivated();
    EXPECT_EQ(form.State().Text4, "0");
    EXPECT_EQ(form.State().Combo1.ListCount(), 3);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace lorvane::test
