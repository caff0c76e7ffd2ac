// The window's handlers over the stand-in emulator and real files.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>

#include "form/main_form.h"
#include "platform/file_exists.h"
#include "platform/file_io.h"
#include "support/app_dir_test.h"
#include "support/native_path.h"
#include "support/standin.h"
#include "support/temp_dir.h"
#include "support/thrown.h"
#include "support/tmpfs_mount.h"

namespace lorvane::form {
namespace {

namespace fs = std::filesystem;
using namespace test;
using platform::CommandLine;
using platform::kPathSeparator;
using platform::kProgramsHaveExtension;
using platform::SetReadFaultHook;
using platform::SetWriteFaultHook;
using platform::WriteFileAtomically;

const char* const kListing =
    "Name:             Description:\npong              \"Pong (Rev E) [TTL]\"\n"
    "breakout          \"Breakout [TTL]\"\nnatodef           \"NATO Defense\"\n"
    "natodefa          \"NATO Defense (alternate mazes)\"\n";
const std::string kIni = "[Settings]\r\nMAME NAME=" + kMameExe +
                         "\r\nData File Name=LVN_LIST.txt\r\nJoy=0\r\nPreview_on=False\r\n";
const std::string kGenerating =
    "Generating Game Data file|0|LVN_LIST.txt not found.  A new one will be generated.";
const std::string kPatient =
    "Please be Patient|1|Please be patient as the data file is created.  This should take approx. "
    "5 seconds and only needs to be generated once for each new beta.";
const std::string kHint = "ERROR|3|Press button on menu to create Mame data file";

// The hook is a plain function pointer, so the fault it injects lives here.
std::string g_file;
const char* g_step;
int g_err, g_hits, g_hidden;

// Before the rename (where a killed writer would stop) the temporary must not pass for a file.
int InjectFault(const char* step, const std::string& path) {
    if (fs::path(path).filename() != g_file || std::strcmp(step, g_step) != 0) return 0;
    for (const auto& e : fs::directory_iterator(fs::path(path).parent_path()))
        if (e.path().filename().string().starts_with("." + g_file + ".tmp-") && *step == 'r')
            g_hidden += platform::FileExists(e.path().string()) ? 100 : 1;
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
        form_ = std::make_unique<MainForm>(App(), ui_);
        form_->OnActivated();
        return form_->State();
    }
    WindowState& S() { return form_->State(); }
    void Launch(int index) {
        S().gameList.Select(index);
        form_->LaunchSelectedGame();
    }
    std::string NotStarted(const std::string& exe, int err) {
        return "Emulator not started|3|The emulator could not be started:\r\n" + App() +
               kPathSeparator + exe + "\r\n" + platform::DescribeStartError(err);
    }
    FakeUi ui_;
    std::unique_ptr<MainForm> form_ = std::make_unique<MainForm>(App(), ui_);
};

// First run makes settings and data file once; missing keys later read as "1500".
TEST_F(MainFormTest, FirstRunCreatesEverythingAndMissingKeysReadAsFifteenHundred) {
    Emulator("MAME.exe");
    EXPECT_EQ(Start().caption, "Lorvane   (romcount = 3)");
    EXPECT_EQ(Shown(ui_),
              (Strings{"Generating LVN.ini|0|LVN.ini not found.  A new one will be generated",
                       kGenerating, kPatient}));
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), std::string(kListing) + "\r\n");
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "[Settings]\r\nMAME NAME=MAME.exe\r\nData File "
              "Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=False\r\n");
    form_->OnActivated();
    EXPECT_EQ(StandInArgs(dir_.Path(), "MAME.exe"), "-listfull\n");
    WriteFile(dir_ / "LVN.ini", "[Settings]\r\nMAME NAME=MAME.exe\r\n");
    EXPECT_EQ(Start().gameList.Count(), 3);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "[Settings]\r\nMAME NAME=MAME.exe\r\nData File "
              "Name=1500\r\nJoy=1500\r\nPreview_on=True\r\n");
}

// Cancel at the question ends the program, nothing saved; a name that exists is used and saved;
// failures before the list end the program, after it not; an unreadable data file -> the menu hint.
TEST_F(MainFormTest, TheExecutableQuestionAndStartUpFailures) {
    WriteFile(dir_ / "LVN.ini", kIni);
    EXPECT_EQ(Start({""}).emulatorFileName, "");
    const auto& asked = ui_.inputs.at(0);
    EXPECT_EQ(asked.prompt + "|" + asked.title + "|" + asked.preset,
              "MAME was not found in the same directory as LVN.\r\n  What is your MAME executable "
              "names?(include "
              ".exe)|Enter your mame executable name.|mame.exe");
    EXPECT_EQ(Shown(ui_),
              Strings{"MAME Executable not found!|3|The MAME executable was not found in the "
                      "same Directory as LVN.exe"});
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini") + std::to_string(ui_.closes), kIni + "1");
    const std::string mine = kProgramsHaveExtension ? "my-mame.exe" : "my-mame";
    Emulator(mine);
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    EXPECT_EQ(Start({mine}).caption, "Lorvane   (romcount = 3)");
    EXPECT_TRUE(Shown(ui_).empty() && ui_.inputs.size() == 1 && ui_.closes == 0);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), "[Settings]\r\nMAME NAME=" + mine +
                                              "\r\nData File Name=LVN_LIST.txt\r\nJoy=0\r\n"
                                              "Preview_on=False\r\n");
    WriteFile(dir_ / "LVN.ini", kIni);
    Emulator(kMameExe);
    const std::string error =
        "An Error has occurred|3|An Error has occured Err.number = 5 Err.description = Invalid "
        "procedure call or argument: ";
    const std::string ini = App() + Native("/mame.ini");
    WriteFile(dir_ / "mame.ini",
              "rompath roms\nsnapshot_dir x\n");  // before the list: window closed
    EXPECT_EQ(Start().gameList.Count(), 0);
    EXPECT_EQ(Shown(ui_), Strings{error + "the snapshot line of " + ini + " is too short"});
    EXPECT_EQ(ui_.closes, 1);
    WriteFile(dir_ / "mame.ini", "rompath roms;;other\n");  // while the list is made: window open
    EXPECT_EQ(Start().gameList.Count(), 0);
    EXPECT_EQ(Shown(ui_), Strings{error + "an empty directory in the ROM path of " + ini});
    EXPECT_EQ(ui_.closes, 0);
    fs::remove(dir_ / "mame.ini");
    SetReadFaultHook([](const std::string& path) {
        return path.ends_with(Native("/LVN_LIST.txt")) ? EACCES : 0;
    });
    const int listed = Start().gameList.Count();  // the read seam: the tests run as root
    SetReadFaultHook(nullptr);
    EXPECT_EQ(listed, 0);
    EXPECT_EQ(Shown(ui_), Strings{kHint});
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), kListing);
}

#ifndef _WIN32
// Shell scripts stand in for broken emulators here: POSIX only.
// A listing that cannot be had is told once, with why; it never replaces the data file, and without
// one the menu hint follows once, at start-up and from the menu. A listing with exit status 0 is
// written, errors and all.
TEST_F(MainFormTest, AFailedListingNeverReplacesTheDataFile) {
    for (const char* zip : {"pong.zip", "natodef.zip"}) WriteFile(dir_ / "roms" / zip, "");
    const std::string
        exe = App() + "/mame",
        failed = "Game listing failed|2|The game listing of " + exe + " failed: ",
        kept = "\r\n\r\nThe game data file LVN_LIST.txt was kept; the list is loaded from it.",
        sdl =
            "mame: error while loading shared libraries: libSDL2-2.0.so.0: cannot open shared "
            "object file";
    std::string e100, flooded = failed + "exit status 3.\r\nIt printed:\r\nx";
    for (int i = 0; i < 100; ++i) e100 += "\xc3\xa9";
    flooded += e100.substr(0, 158) + "...\r\n";  // 2-byte characters are not cut
    for (int i = 0; i < 19; ++i) flooded += std::string(160, '0') + "...\r\n";
    flooded += "... (80 more lines)";
    const auto emulator = [&](const std::string& script, int mode) {
        WriteFile(dir_ / "mame", script);
        fs::permissions(dir_ / "mame", fs::perms(mode));
    };
    const struct {
        std::string script;
        int mode;
        std::string message;
    } cases[] = {
        {"#!/bin/sh\necho never\n", 0644, NotStarted("mame", EACCES)},
        {"#!/no/such/sh\n", 0755, NotStarted("mame", ENOENT)},
        {"#!/bin/sh\necho '" + sdl + "' >&2\nexit 127\n", 0755,
         failed + "exit status 127.\r\nIt printed:\r\n" + sdl},
        {"#!/bin/sh\necho partial\nkill -KILL $$\n", 0755,
         failed + "killed by signal 9 (" + strsignal(SIGKILL) + ").\r\nIt printed:\r\npartial"},
        {"#!/bin/sh\necho '  '\n", 0755,
         "Game listing failed|2|" + exe + " printed no game listing."},
        {"#!/bin/sh\necho x" + e100 +
             "\ni=1\nwhile [ $i -lt 100 ]; do printf '%0500d\\n' $i; i=$((i+1)); done\nexit 3\n",
         0755, flooded}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        emulator(c.script, c.mode);
        fs::remove(dir_ / "LVN_LIST.txt");
        WriteFile(dir_ / "LVN.ini", kIni);
        EXPECT_EQ(Start().caption, "Lorvane");
        EXPECT_EQ(Shown(ui_), (Strings{kGenerating, kPatient, c.message, kHint}));
        EXPECT_TRUE(!fs::exists(dir_ / "LVN_LIST.txt") && ui_.closes == 0);
        WriteFile(dir_ / "LVN_LIST.txt", kListing);
        ui_.messages.clear();
        form_->RecreateGameList();
        EXPECT_EQ(Shown(ui_), (Strings{kPatient, c.message + kept}));
        EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt"), kListing);
        EXPECT_EQ(S().caption, "Lorvane   (romcount = 3)");
    }
    fs::remove(dir_ / "mame");
    fs::remove(dir_ / "LVN_LIST.txt");
    ui_.messages.clear();
    form_->RecreateGameList();  // no emulator, no data file
    EXPECT_FALSE(fs::exists(dir_ / "LVN_LIST.txt"));
    emulator("#!/bin/sh\necho 'Error: unknown option' >&2\n", 0755);
    form_->RecreateGameList();  // exit status 0: written
    EXPECT_EQ(ReadFile(dir_ / "LVN_LIST.txt") + S().caption, "Error: unknown option\n\r\nLorvane");
    SetReadFaultHook(
        [](const std::string& path) { return path.ends_with("/LVN_LIST.txt") ? EACCES : 0; });
    form_->RecreateGameList();  // written, then unreadable
    emulator("#!/bin/sh\nexit 1\n", 0755);
    form_->RecreateGameList();  // kept, but unreadable
    SetReadFaultHook(nullptr);
    EXPECT_EQ(Shown(ui_), (Strings{kPatient, NotStarted("mame", ENOENT), kHint, kPatient, kPatient,
                                   kHint, kPatient, failed + "exit status 1." + kept, kHint}));
}
#endif

// Settings saved, checked with the joystick option, then started; a failed check shows the report;
// no selection: nothing; a failed start says why; export.
TEST_F(MainFormTest, LaunchAndExport) {
    Emulator(kMameExe);
    S().emulatorFileName = kMameExe;
    S().gameList.AddAll(
        {"Pong (Rev E) [TTL]    [pong]", "Pac-Man (Midway)    [pacman]", "Galaga    [galaga]"});
    fs::create_directories(dir_ / (kMameExe + ".verify"));
    WriteFile(dir_ / (kMameExe + ".verify") / "pong",
              "romset pong is best available\n1 romsets found, 1 were OK.\n");
    form_->SelectJoystickMode(0);
    Launch(2);
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), kIni);
    Launch(1);
    form_->SelectJoystickMode(3);
    ui_.startResult = {false, EACCES};
    Launch(2);
    const std::string exe = App() + kPathSeparator + kMameExe;
    EXPECT_EQ(ui_.starts,
              (std::vector<CommandLine>{{exe, "pong", "-joy"}, {exe, "pong", "-hotrodse"}}));
    EXPECT_EQ(Shown(ui_), (Strings{"Rom Error Info|1|romset \"pacman\" not found!\n",
                                   NotStarted(kMameExe, EACCES)}));
    ui_ = FakeUi();
    Launch(-1);
    S().emulatorFileName = "missing";
    Launch(0);
    EXPECT_EQ(Shown(ui_), Strings{NotStarted("missing", ENOENT)});
    EXPECT_TRUE(ui_.starts.empty());
    ui_ = FakeUi();  // export writes every entry; an empty list keeps the earlier file
    WriteFile(dir_ / "AvailROM.txt", "old\r\n");
    form_->ExportAvailableGames();
    const std::string exported =
        "Galaga    [galaga]\r\nPac-Man (Midway)    [pacman]\r\nPong (Rev E) [TTL]    "
        "[pong]\r\n\r\n";
    EXPECT_EQ(ReadFile(dir_ / "AvailROM.txt"), exported);
    S().gameList.Clear();
    form_->ExportAvailableGames();
    EXPECT_EQ(Shown(ui_),
              (Strings{"Summary Report Written|1|Available Rom list exported to AvailROM.txt ",
                       "No Roms to Export List|2|No Rom to export list for"}));
    EXPECT_EQ(ReadFile(dir_ / "AvailROM.txt"), exported);
}

// A folder where AvailROM.txt cannot be made: the message names the file and the system's reason,
// nothing is written, the window stays open.
TEST(MainFormExport, AFileThatCannotBeWrittenIsToldWithTheSystemsReason) {
    TmpfsMount folder("1m", TmpfsMount::kReadOnly);
    if (!folder.Made()) GTEST_SKIP() << folder.Why();
    FakeUi ui;
    MainForm form(folder.Str(), ui);
    form.State().gameList.Add("Galaga    [galaga]");
    form.ExportAvailableGames();
#ifndef _WIN32
    const int reason =
        ::geteuid() == 0 ? EROFS : EACCES;  // root is kept out by the read-only mount only
#else
    const int reason = EACCES;
#endif
    EXPECT_EQ(Shown(ui),
              Strings{"Not Supported Feature|1|The available rom list could not be written to "
                      "AvailROM.txt:\r\n" +
                      folder.Str() + kPathSeparator + "AvailROM.txt: " + std::strerror(reason)});
    EXPECT_EQ(ListDir(PathOf(folder.Str())), "");
    EXPECT_EQ(ui.closes, 0);
}

// A rebuild replaces the whole list, its caption counting what is listed, none too.
TEST_F(MainFormTest, ARebuildReplacesTheListAndItsCaption) {
    Emulator(kMameExe);
    WriteFile(dir_ / "LVN_LIST.txt", kListing);
    S().emulatorFileName = kMameExe;
    S().gameList.Add("Old    [old]");
    form_->RebuildGameList();
    EXPECT_EQ(S().gameList.Entries(),
              (Strings{"NATO Defense    [natodef]", "NATO Defense (alternate mazes)    [natodefa]",
                       "Pong (Rev E) [TTL]    [pong]"}));
    EXPECT_EQ(S().caption, "Lorvane   (romcount = 3)");
    WriteFile(dir_ / "mame.ini", "rompath\n");
    form_->RebuildGameList();
    EXPECT_EQ(std::to_string(S().gameList.Count()) + S().caption, "0Lorvane");
}

// What the load applied before the failing step, through the window's own handlers (marks set
// beforehand); a true "Preview_on" is the preview command, so it switches a preview that is on off.
TEST(MainFormSettings, LoadStopsAtTheFailingStep) {
    const struct {
        const char* ini;
        int failure;
        const char* state;
    } cases[] = {{"MAME NAME=m.exe\nData File Name=d.txt\nJoy=abc\nPreview_on=1\n", 13,
                  "m.exe|d.txt|abc|on|0100|"},
                 {"Joy=3.5\nPreview_on=0\n", 340, "1500|1500|3.5|off|0000|"},
                 {"MAME NAME=m\nJoy=2\n", 0, "m|1500|2|on|0010| -hotrod"}};
    const auto stateOf = [](const WindowState& st) {
        std::string marks;
        for (bool mark : st.joystickChecks) marks += mark ? '1' : '0';
        return st.emulatorFileName + "|" + st.dataFileName + "|" + st.joystickIndex + "|" +
               (st.previewOn ? "on|" : "off|") + marks + "|" + st.joystickOption;
    };
    for (TempDir dir; const auto& c : cases) {
        WriteFile(dir / "LVN.ini", std::string("[Settings]\n") + c.ini);
        FakeUi ui;
        MainForm form(dir.Str(), ui);
        form.SelectJoystickMode(1);
        const std::int32_t failure = FailureNumber([&] { form.LoadSettings(); });
        EXPECT_EQ(std::to_string(failure) + " " + stateOf(form.State()),
                  std::to_string(c.failure) + " " + c.state)
            << c.ini;
    }
    TempDir dir;
    WriteFile(dir / "LVN.ini",
              "[Settings]\nMAME NAME=my_own_mame_build_0251_x64.exe\nJoy=1\nPreview_on=True\n");
    FakeUi ui;
    MainForm form(dir.Str(), ui);
    form.TogglePreview();
    form.LoadSettings();
    EXPECT_EQ(stateOf(form.State()), "my_own_mame_build_0251_x64.exe|1500|1|off|0100|")
        << "read whole, and switched";
}

// Create Default ini: the defaults over the four keys, the rest kept, applied. Without the preview
// the list takes the pane's room; switching the preview lays the window out again (twips).
TEST_F(MainFormTest, DefaultIniAndTheLayoutWithoutPreview) {
    WriteFile(dir_ / "LVN.ini", "; mine\r\n[Settings]\r\nMAME NAME=mame\r\nJoy=3\r\nExtra=1\r\n");
    form_->SelectJoystickMode(3);
    form_->ResetSettingsToDefaults();
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"),
              "; mine\r\n[Settings]\r\nMAME NAME=MAME.exe\r\nJoy=1\r\nExtra=1\r\n"
              "Data File Name=LVN_LIST.txt\r\nPreview_on=False\r\n");
    EXPECT_TRUE(Shown(ui_).empty() && S().emulatorFileName == "MAME.exe" &&
                S().dataFileName == "LVN_LIST.txt");
    EXPECT_TRUE(S().joystickOption.empty() && S().joystickIndex == "1" &&
                S().joystickChecks == (std::array{false, true, false, false}));
    const struct {
        int width, height;
        bool preview;
        int listWidth, listHeight, exeWidth, paneLeft;
    } rows[] = {
        {9000, 6000, false, 8640, 4830, 7080, 5520}, {4800, 1170, false, 4440, 0, 2880, 5520},
        {4785, 6000, false, 4440, 0, 2880, 5520},    {9000, 1155, false, 4440, 0, 2880, 5520},
        {9000, 6000, true, 4200, 4830, 7080, 4440},  {9000, 6000, false, 8640, 4830, 7080, 4440}};
    for (const auto& r : rows) {
        form_->SetOuterSize(r.width, r.height);
        if (S().previewOn != r.preview) form_->TogglePreview();
        EXPECT_EQ((std::array{S().layout.gameList.width, S().layout.gameList.height,
                              S().layout.emulatorNameBox.width, S().layout.snapshotPane.left}),
                  (std::array{r.listWidth, r.listHeight, r.exeWidth, r.paneLeft}))
            << r.width << " x " << r.height;
    }
}

// Each writer x step, errors rotated: old file byte for byte, no temporary, window open, user told.
TEST_F(MainFormTest, EveryWrittenFileSurvivesEveryFailedStep) {
    Emulator(kMameExe);
    // "0" is stored back as "False": each writer has something to write.
    WriteFile(dir_ / "LVN.ini", "; mine\r\n[Settings]\r\nMAME NAME=" + kMameExe +
                                    "\r\nData File Name=LVN_LIST.txt\r\nJoy=0\r\nPreview_on=0\r\n");
    WriteFile(dir_ / "LVN_LIST.txt", std::string(kListing) + "old line\r\n");
    WriteFile(dir_ / "AvailROM.txt", "old\r\n");
    const struct {
        const char *file, *title;
        std::function<void(MainForm&)> act;
    } writers[] = {
        {"LVN.ini", "Settings not saved", [](MainForm& f) { f.OnActivated(); }},
        {"LVN.ini", "Settings not saved", [](MainForm& f) { f.LaunchSelectedGame(); }},
        {"LVN.ini", "An Error has occurred", [](MainForm& f) { f.ResetSettingsToDefaults(); }},
        {"LVN_LIST.txt", "An Error has occurred", [](MainForm& f) { f.RecreateGameList(); }},
        {"AvailROM.txt", "Not Supported Feature", [](MainForm& f) { f.ExportAvailableGames(); }},
    };
    int row = 0;
    for (const auto& w : writers) {
        for (const char* step : {"open", "write", "sync", "rename"}) {
            const int err = std::array{ENOSPC, EIO, EACCES}[row++ % 3];
            SCOPED_TRACE(std::to_string(row) + " " + w.file + " / " + step + " " +
                         std::strerror(err));
            const std::string before = ReadFile(dir_ / w.file);
            FakeUi ui;
            MainForm form(App(), ui);
            WindowState& s = form.State();
            s.emulatorFileName = kMameExe;
            s.dataFileName = "LVN_LIST.txt";
            s.gameList.Add("Pong (Rev E) [TTL]    [pong]");
            s.gameList.Select(0);
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
            EXPECT_EQ(ListDir(dir_.Path()).find(".tmp-"), std::string::npos)
                << ListDir(dir_.Path());
            std::string shown;
            for (const RecordedMessage& m : ui.messages) shown += "\n" + m.title + ": " + m.text;
            EXPECT_TRUE(
                ui.closes == 0 &&
                std::ranges::any_of(ui.messages, [&](const auto& m) { return m.title == w.title; }))
                << "shown:" << shown;
        }
    }
}

#ifndef _WIN32
// fork() lets a writer die where a crash would stop it: POSIX only.
// A writer killed between writing and renaming: the old file is whole, its hidden leftover is no
// file.
TEST_F(MainFormTest, AKilledWriterLeavesTheOldFile) {
    WriteFile(dir_ / "LVN.ini", kIni);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        SetWriteFaultHook(
            [](const char* step, const std::string&) { return *step == 'r' ? (_exit(9), 0) : 0; });
        WriteFileAtomically(App() + "/LVN.ini", "[Settings]\r\nMAME NAME=new\r\n");
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 9)
        << "the writer did not reach the rename";
    EXPECT_EQ(ListDir(dir_.Path()).rfind(".LVN.ini.tmp-", 0), 0u) << ListDir(dir_.Path());
    EXPECT_FALSE(platform::FileExists(App() + "/*.tmp-*"));
    EXPECT_EQ(ReadFile(dir_ / "LVN.ini"), kIni);
}
#endif

}  // namespace
}  // namespace lorvane::form
