// The window's handlers and the bad ROM set audit over the stand-in emulator and real files.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#include "fake_ui.h"
#include "file_exists.h"
#include "file_io.h"
#include "game_list.h"
#include "main_form.h"
#include "real_emulator.h"
#include "rom_dependencies.h"
#include "standin.h"
#include "temp_dir.h"
#include "tmpfs_mount.h"

namespace lorvane::test {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class AppDirTest : public ::testing::Test {  // the program works in its own directory
protected:
    void SetUp() override { fs::current_path(dir_.Path()); fs::create_directories(dir_ / "roms"); }
    void TearDown() override { fs::current_path(previous_); }
    std::string App() const { return dir_.Str(); }
    fs::path previous_ = fs::current_path();
    TempDir dir_;
};

Strings Shown(const FakeUi& ui) {
    Strings out;
    for (const auto& m : ui.messages) out.push_back(m.title + "|" + std::to_string(int(m.icon)) + "|" + m.text);
    return out;
}

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

const std::string kNote = "Please Note|2|This Rom audit will currently only audit the first rom path located in "
                          "your MAME.ini.";
const std::string kWarning =
    "Warning this could take a while|2|WARNING this will take a while if there are a lot of roms to check.\r\n"
    "Press cancel on the folder select screen to abort the audit before it begins.";

std::string NotFound(const std::string& set) { return "romset \"" + set + "\" not found!\n"; }

class AuditTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        Restore();
        form_.State().MameExeName = "mame";
    }
    void Sets(const Strings& sets) {
        InstallStandIn(dir_.Path(), "mame");
        for (const char* d : {"mame.verify", "mame.delay", "mame.needs"}) fs::create_directories(dir_ / d);
        std::string data = "Name:             Description:\n";
        for (std::size_t i = 0; i < sets.size(); ++i) {
            data += sets[i] + std::string(18 - sets[i].size(), ' ') + "\"Game " + char('A' + i) + "\"\n";
            WriteFile(dir_ / "roms" / (sets[i] + ".zip"), "PK");
        }
        WriteFile(dir_ / "LVN_LIST.txt", data + "\n");
        Frontend_code::StartFrontend(form_);
    }
    void Restore() {
        for (const auto& e : fs::directory_iterator(target_.Path())) {
            if (e.path().filename() != "BadRoms.txt") fs::copy(e.path(), dir_ / "roms" / e.path().filename());
            fs::remove_all(e.path());
        }
        ui_ = FakeUi();
        ui_.folderAnswer = target_.Str();
    }
    std::string Count(int n) const { return "Bad roms found|1|" + std::to_string(n) + " bad roms found."; }
    Strings Done(const std::string& stopped, int n) const {
        Strings out{kNote, kWarning, "LVN|0|Folder selected was: " + target_.Str(), stopped, Count(n),
                    "LVN|0|All Bad roms moved to " + target_.Str() + ".\r\nSummary Report Written"};
        if (stopped.empty()) out.erase(out.begin() + 3);
        return out;
    }

    TmpfsMount target_;  // another file system where one can be mounted (as root)
    FakeUi ui_;
    MAIN_form form_{App(), ui_};
};

// Bad ROM path: no picker; Cancel (second click starts nothing) or hung checks: nothing moves.
TEST_F(AuditTest, RefusedRomPathCancelAndUnwritableReport) {
    Sets({"s0", "s1", "s2"});
    WriteFile(dir_ / "mame.ini", "rompath roms;;more\n");
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Shown(ui_).at(0).rfind("Rom audit not started|2|The rom audit cannot start: ", 0), 0u);
    EXPECT_NE(ui_.messages[0].text.find(App() + "/mame.ini"), std::string::npos) << ui_.messages[0].text;
    fs::remove(dir_ / "mame.ini");
    ui_.folderAnswer = "";
    int pumps = 0;
    ui_.onPump = [&] { if (pumps++ == 0) form_.Move_bad_roms_Click(); };
    form_.Move_bad_roms_Click();
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(Shown(ui_), (Strings{Shown(ui_)[0], kNote, kWarning, "LVN|0|No folder selected!\r\nExiting rom audit"}));
    EXPECT_EQ(ui_.folderInstructions, Strings{"Please select a folder to place all bad roms."});
    EXPECT_EQ(StandInArgs(dir_.Path(), "mame"), "");
    Restore();
    WriteFile(dir_ / "mame.mode", "hang");
    ui_.onPump = [&] { ui_.cancelRequested = ui_.progressOpen; };
    form_.Move_bad_roms_Click();
    EXPECT_TRUE(ui_.cancelRequested) << "the window was not kept live while the checks ran";
    EXPECT_EQ(ListDir(dir_ / "roms"), "s0.zip s1.zip s2.zip");
    EXPECT_EQ(Shown(ui_).back(), Count(0));
    Restore();
    fs::remove(dir_ / "mame.mode");
    fs::create_directories(target_.Path() / "BadRoms.txt");
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Shown(ui_).at(4).rfind("Summary Report not written|3|The summary report could not be written to " +
                                     target_.Str() + "/BadRoms.txt:\r\n", 0), 0u) << Shown(ui_)[4];
}

// Never overwrite in the target; only the first ROM directory's sets move.
TEST_F(AuditTest, SetsThatCannotBeMovedStayAndTheReportSaysWhy) {
    Sets({"natodef", "pacman", "galaga"});
    WriteFile(dir_ / "mame.ini", "rompath roms;more\n");
    fs::create_directories(dir_ / "more");
    fs::rename(dir_ / "roms" / "galaga.zip", dir_ / "more" / "galaga.zip");
    WriteFile(dir_ / "roms" / "pacman.zip", "mine");
    WriteFile(target_.Path() / "pacman.zip", "theirs");
    Frontend_code::StartFrontend(form_);  // galaga from the second directory, natodefa after natodef
    form_.Move_bad_roms_Click();
    const std::string notFirst = " was not moved: it is not in the first ROM directory " + App() + "/roms/";
    EXPECT_EQ(ReadFile(target_.Path() / "BadRoms.txt"),
              NotFound("natodef") + "\r\n\r\n" + NotFound("pacman") +
                  "pacman.zip was not moved: a file of that name is already in " + target_.Str() + "\r\n\r\n" +
                  NotFound("galaga") + "galaga.zip" + notFirst + "\r\n\r\n" + NotFound("natodefa") +
                  "natodefa.zip" + notFirst + "\r\n\r\n\r\n");
    EXPECT_EQ(ReadFile(target_.Path() / "pacman.zip") + ReadFile(dir_ / "roms" / "pacman.zip"), "theirsmine");
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt natodef.zip pacman.zip");
}

// A full target: the set that does not fit stays whole, the report says why, later sets move.
TEST_F(AuditTest, ASetThatDoesNotFitTheTargetStaysWhole) {
    TmpfsMount full("64k");
    if (!full.Mounted()) GTEST_SKIP() << full.Why();
    Sets({"small", "big", "after"});
    const std::string big(256 << 10, 'b');
    WriteFile(dir_ / "roms" / "big.zip", big);
    ui_.folderAnswer = full.Str();
    form_.Move_bad_roms_Click();
    EXPECT_EQ(ListDir(full.Path()), "BadRoms.txt after.zip small.zip");
    EXPECT_EQ(ReadFile(dir_ / "roms" / "big.zip"), big);
    const std::string report = ReadFile(full.Path() / "BadRoms.txt");
    EXPECT_NE(report.find(NotFound("big") + "big.zip was not moved: "), std::string::npos) << report;
    EXPECT_NE(report.find(std::strerror(ENOSPC)), std::string::npos) << report;
}

// The emulator goes away after three sets: those are dealt with in full, the rest stay.
TEST_F(AuditTest, AnEmulatorThatCannotBeStartedStopsTheAudit) {
    Sets({"s0", "s1", "s2", "s3", "s4"});
    form_.SetAuditParallelism(1);
    ui_.onProgress = [&](const FakeUi::Progress& p) { if (p.done == 2) fs::permissions(dir_ / "mame", {}); };
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Shown(ui_), Done("Rom audit stopped|3|The emulator could not be started:\r\n" + App() + "/mame\r\n" +
                                   std::strerror(EACCES) + "\r\nThe rom audit stopped after 3 of 5 sets; the sets "
                                   "not checked were left where they are.", 3));
    EXPECT_EQ(ListDir(target_.Path()) + " | " + ListDir(dir_ / "roms"), "BadRoms.txt s0.zip s1.zip s2.zip | s3.zip s4.zip");
}

// Later sets answer first, s4 reads s0: checks at once move and report as one at a time.
TEST_F(AuditTest, ChecksRunAtOnceGiveTheOutcomeOfChecksOneAfterTheOther) {
    const Strings sets = {"s0", "s1", "s2", "s3", "s4", "s5"};
    Sets(sets);
    for (int ms = 4; const char* set : {"s0", "s1", "s2"}) WriteFile(dir_ / "mame.delay" / set, std::to_string(ms--) + "00");
    for (const char* set : {"s1", "s4"}) WriteFile(dir_ / "mame.verify" / set, "1 romsets found, 1 were OK.\n");
    WriteFile(dir_ / "mame.verify" / "s5", "s5 is bad\n");
    WriteFile(dir_ / "mame.needs" / "s4", "s0");
    std::string xml = "<mame>";
    for (const auto& n : sets) xml += "<machine name=\"" + n + (n == "s4" ? "\" romof=\"s0" : "") + "\"></machine>";
    for (const auto& [parallel, listxml] : {std::pair{1, false}, {4, false}, {4, true}}) {
        SCOPED_TRACE(std::to_string(parallel) + (listxml ? " with the machine list" : ""));
        if (listxml) WriteFile(dir_ / "mame.listxml", xml + "</mame>");
        Restore();
        Frontend_code::StartFrontend(form_);
        form_.SetAuditParallelism(parallel);
        form_.Move_bad_roms_Click();
        EXPECT_EQ(ReadFile(target_.Path() / "BadRoms.txt"), NotFound("s0") + "\r\n\r\n" + NotFound("s2") + "\r\n\r\n" +
                                                                NotFound("s3") + "\r\n\r\n" + NotFound("s4") +
                                                                "\r\n\r\ns5 is bad\n\r\n\r\n\r\n");
        EXPECT_EQ(ListDir(dir_ / "roms"), "s1.zip");
        EXPECT_EQ(form_.State().Combo1.Entries(), Strings{"Game B    [s1]"});
        EXPECT_EQ(Shown(ui_), Done("", 5));
    }
}

// Debian's machine list: a clone reads its parent, a Neo Geo set its BIOS, a machine its devices.
TEST(RomDependencies, RealMachineList) {
    if (!RealEmulatorAvailable()) GTEST_SKIP() << "no " << kRealEmulator;
    RomDependencies deps;
    deps.Add(std::string_view(RunCapture({kRealEmulator, "-listxml", "pacman", "puckman", "mslug"}, true, false).text));
    EXPECT_TRUE(deps.MayDependOn("pacman", "puckman") && deps.MayDependOn("mslug", "neogeo"));
    EXPECT_TRUE(deps.MayDependOn("pacman", "z80"));
    EXPECT_FALSE(deps.MayDependOn("puckman", "pacman") || deps.MayDependOn("pacman", "mslug"));
}

}  // namespace
}  // namespace lorvane::test
