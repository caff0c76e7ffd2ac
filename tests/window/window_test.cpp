// The window's handlers over the stand-in emulator and real files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#include "app_dir_test.h"
#include "file_exists.h"
#include "file_io.h"
#include "game_list.h"
#include "main_form.h"
#include "standin.h"
#include "temp_dir.h"

namespace lorvane::test {
namespace {

namespace fs = std::filesystem;

const char* const kListing = "Name:             Description:\npong              \"Pong (Rev E) [TTL]\"\n"
                             "breakout          \"Breakout [TTL]\"\nnatodef           \"NATO Defense\"\n"
                             "natodefa          \"NATO Defense (alternate mazes)\"\n";
const std::string kIni = "[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\nJoy=0\r\nPreview_on=False\r\n";

// The hook is a plain function pointer, so the fault it injects lives here.
std::string g_file;
const char* g_step;
int g_err, g_hits, g_hidden;

// Before the rename (where a killed writer would stop) the temporary must not pass for a file.
int InjectFault(const char* step, const std::string& path) {
    if (fs::path(path).filename() != g_file || std::strcmp(step, g_step) != 0) return 0;
    for (const auto& e : fs::directory_iterator(fs::path(path).parent_path()))
        if (e.path().filename().string().starts_with("." + g_file + ".tmp-") && *step == 'r')
            g_hidden += Clean_code::FileExists(e.path().string()) ? 100 : 1;
    ++g_hits;
    return g_err;
}

class MainFormTest : public AppDirTest {
protected:
    void Emulator(const std::string& name) {
        for (const char* zip : {"pong.zip", "natodef.zip"}) WriteFile(dir_ / "roms" / zip, "");
        InstallStandIn(dir_.Path(), name);
        WriteFile(dir_ / (name + ".listfull"), kListing);
    }
    const WindowState& Start(std::deque<std::string> answers = {}) {
        ui_ = FakeUi();
        ui_.inputAnswers = std::move(answers);
        form_ = std::make_unique<MAIN_form>(App(), ui_);
        form_->OnActivated();
        return form_->State();
    }
    WindowState& S() { return form_->State(); }
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

// First run makes settings and data file once; missing keys later read as "1500".
TEST_F(MainFormTest, FirstRunCreatesEverythingAndMissingKeysReadAsFifteenHundred) {
    Emulator("MAME.exe");
    EXPECT_EQ(Start().caption, "Lorvane   (romcount = 3)");
    EXPECT_EQ(Shown(ui_),
              (Strings{"Generating LVN.ini|0|LVN.ini not found.  A new one will be generated",
                       "Generating Game Data file|0|LVN_LIST.txt not found.  A new one will be generated.",
                       "Please be Patient|1|Please be patient as the data file is created.  This should "
                       "take approx. 5 seconds and only needs to be generated once for each new beta."}));
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), std::string(kListing) + "\r\n");
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "[Settings]\r\nMAME NAME=MAME.exe\r\nData File Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=False\r\n");
    form_->OnActivated();
    EXPECT_EQ(StandInArgs(dir_.Path(), "MAME.exe"), "-listfull\n");
    WriteFile(dir_ / "LVN.ini", "[Settings]\r\nMAME NAME=MAME.exe\r\n");
    EXPECT_EQ(Start().Combo1.ListCount(), 3);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "[Settings]\r\nMAME NAME=MAME.exe\r\nData File Name=1500\r\nJoy=1500\r\nPreview_on=True\r\n");
}

// Cancel at the question ends the program, nothing saved; unreadable data file -> the menu hint.
TEST_F(MainFormTest, TheExecutableQuestionAndStartUpFailures) {
    WriteFile(dir_ / "LVN.ini", kIni);
    EXPECT_EQ(Start({""}).MameExeName, "");
    const auto& asked = ui_.inputs.at(0);
    EXPECT_EQ(asked.prompt + "|" + asked.title + "|" + asked.preset,
              "MAME was not found in the same directory as LVN.\r\n  What is your MAME executable names?(include "
              ".exe)|Enter your mame executable name.|mame.exe");
    EXPECT_EQ(Shown(ui_), Strings{"MAME Executable not found!|3|The MAME executable was not found in the "
                                  "same Directory as LVN.exe"});
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini") + std::to_string(ui_.closes), kIni + "1");
    Emulator("mame");  // before the list: generic message, window closed; after: window open
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    WriteFile(dir_ / "mame.ini", "rompath roms\nsnapshot_dir x\n");  // too short a snapshot line
    EXPECT_EQ(Start().Combo1.ListCount(), 0);
    EXPECT_EQ(Shown(ui_).at(0).rfind("An Error has occurred|3|An Error has occured Err.number = 5 Err.description = ",
                                     0), 0u) << Shown(ui_)[0];
    EXPECT_EQ(ui_.closes, 1);
    WriteFile(dir_ / "mame.ini", "rompath roms;;other\n");
    EXPECT_EQ(Start().Combo1.ListCount(), 0);
    EXPECT_EQ(ui_.messages.at(0).text.rfind("An Error has occured Err.number = 5 ", 0), 0u);
    EXPECT_EQ(ui_.closes, 0);
    fs::remove(dir_ / "mame.ini");
    SetReadFaultHook([](const std::string& path) { return path.ends_with("/LVN_LIST.txt") ? EACCES : 0; });
    const int listed = Start().Combo1.ListCount();  // the read seam: the tests run as root
    SetReadFaultHook(nullptr);
    EXPECT_EQ(listed, 0);
    EXPECT_EQ(Shown(ui_), Strings{"ERROR|3|Press button on menu to create Mame data file"});
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), kListing);
}

// Checked with the joystick option, then started; no selection: nothing; a failed start says why; export.
TEST_F(MainFormTest, LaunchAndExport) {
    Emulator("mame");
    S().MameExeName = "mame";
    S().Combo1.AddItems({"Pong (Rev E) [TTL]    [pong]", "Pac-Man (Midway)    [pacman]", "Galaga    [galaga]"});
    fs::create_directories(dir_ / "mame.verify");
    WriteFile(dir_ / "mame.verify" / "pong", "romset pong is best available\n1 romsets found, 1 were OK.\n");
    form_->JOY_SEL_Click(0);
    Launch(2);
    form_->JOY_SEL_Click(3);
    ui_.startResult = {false, EACCES};
    Launch(2);
    const std::string exe = App() + "/mame";
    EXPECT_EQ(ui_.starts, (std::vector<CommandLine>{{exe, "pong", "-joy"}, {exe, "pong", "-hotrodse"}}));
    EXPECT_EQ(Shown(ui_), Strings{NotStarted("mame", EACCES)});
    ui_ = FakeUi();
    Launch(-1);
    S().MameExeName = "missing";
    Launch(0);
    EXPECT_EQ(Shown(ui_), Strings{NotStarted("missing", ENOENT)});
    EXPECT_TRUE(ui_.starts.empty());
    ui_ = FakeUi();  // export writes every entry; an empty list keeps the earlier file
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

// Each writer x step, errors rotated: old file byte for byte, no temporary, window open, user told.
TEST_F(MainFormTest, EveryWrittenFileSurvivesEveryFailedStep) {
    Emulator("mame");
    WriteFile(dir_ / "LVN.ini", "; mine\r\n" + kIni);
    WriteFile(dir_ / "LVN_LIST.txt", std::string(kListing) + "old line\r\n");
    for (const char* f : {"AvailROM.txt", "BadRoms.txt"}) WriteFile(dir_ / f, "old\r\n");
    const struct {
        const char *file, *title;  // no title: the write throws
        std::function<void(MAIN_form&)> act;
    } writers[] = {
        {"LVN.ini", "Settings not saved", [](MAIN_form& f) { f.OnActivated(); }},
        {"LVN.ini", "Settings not saved", [](MAIN_form& f) { f.Combo1_DblClick(); }},
        {"LVN.ini", "An Error has occurred", [](MAIN_form& f) { f.create_def_ini_Click(); }},
        {"LVN_LIST.txt", "An Error has occurred", [](MAIN_form& f) { f.MAKE_GAME_LIST_Click(); }},
        {"AvailROM.txt", "Not Supported Feature", [](MAIN_form& f) { f.Export_ROM_list_Click(); }},
        {"BadRoms.txt", nullptr,
         [](MAIN_form& f) { EXPECT_THROW(WriteFileAtomically(f.AppDir() + "/BadRoms.txt", "new"), Failure); }},
    };
    int row = 0;
    for (const auto& w : writers) {
        for (const char* step : {"open", "write", "sync", "rename"}) {
            const int err = std::array{ENOSPC, EIO, EACCES}[row++ % 3];
            SCOPED_TRACE(std::to_string(row) + " " + w.file + " / " + step + " " + std::strerror(err));
            const std::string before = ReadFile(dir_ / w.file);
            FakeUi ui;
            MAIN_form form(App(), ui);
            WindowState& s = form.State();
            s.MameExeName = "mame";
            s.LVNGameList = "LVN_LIST.txt";
            s.Combo1.AddItem("Pong (Rev E) [TTL]    [pong]");
            s.Combo1.SetListIndex(0);
            g_file = w.file;
            g_step = step;
            g_err = err;
            g_hits = g_hidden = 0;
            SetWriteFaultHook(&InjectFault);
            w.act(form);
            SetWriteFaultHook(nullptr);
            EXPECT_GE(g_hits, 1) << "the write was never attempted";
            EXPECT_EQ(g_hidden, *step == 'r' ? 1 : 0);
            EXPECT_EQ(ReadFile(dir_ / w.file), before);
            EXPECT_EQ(ListDir(dir_.Path()).find(".tmp-"), std::string::npos) << ListDir(dir_.Path());
            EXPECT_TRUE(ui.closes == 0 && (!w.title || std::any_of(ui.messages.begin(), ui.messages.end(),
                                                [&](const RecordedMessage& m) { return m.title == w.title; })));
        }
    }
}

// A writer killed between writing and renaming: the old file is whole, its hidden leftover is no file.
TEST_F(MainFormTest, AKilledWriterLeavesTheOldFile) {
    WriteFile(dir_ / "LVN.ini", kIni);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        SetWriteFaultHook([](const char* step, const std::string&) { return *step == 'r' ? (_exit(9), 0) : 0; });
        WriteFileAtomically(App() + "/LVN.ini", "[Settings]\r\nMAME NAME=new\r\n");
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9) << "the writer did not reach the rename";
    EXPECT_EQ(ListDir(dir_.Path()).rfind(".LVN.ini.tmp-", 0), 0u) << ListDir(dir_.Path());
    EXPECT_FALSE(Clean_code::FileExists(App() + "/*.tmp-*"));
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), kIni);
}

}  // namespace
}  // namespace lorvane::test
