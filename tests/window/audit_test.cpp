// The bad ROM set audit end to end: handler, stand-in emulator, the files moved and the report.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app_dir_fixture.h"
#include "game_list.h"
#include "main_form.h"
#include "real_emulator.h"
#include "rom_audit.h"
#include "rom_dependencies.h"
#include "standin.h"
#include "tmpfs_mount.h"

namespace fs = std::filesystem;

namespace lorvane::test {
namespace {

const std::string kEmptyZip = std::string("PK\x05\x06", 4) + std::string(18, '\0');
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
        fs::create_directories(dir_ / "roms");
        Restore();
        form_.State().MameExeName = "mame";
    }
    // The stand-in emulator, a zip per set in roms/, the data file listing them in order, loaded.
    void Sets(const Strings& sets) {
        InstallStandIn(dir_.Path(), "mame");
        for (const char* d : {"mame.verify", "mame.delay", "mame.needs"}) fs::create_directories(dir_ / d);
        std::string data = "Name:             Description:\n";
        for (std::size_t i = 0; i < sets.size(); ++i) {
            data += sets[i] + std::string(18 - sets[i].size(), ' ') + "\"Game " + char('A' + i) + "\"\n";
            WriteFile(dir_ / "roms" / (sets[i] + ".zip"), kEmptyZip);
        }
        WriteFile(dir_ / "LVN_LIST.txt", data + "\n");
        Frontend_code::StartFrontend(form_);
    }
    void Good(const std::string& set) {
        WriteFile(dir_ / "mame.verify" / set, "romset " + set + " is good\n1 romsets found, 1 were OK.\n");
    }
    // The moved sets back in roms/, no report, a new screen.
    void Restore() {
        for (const auto& e : fs::directory_iterator(target_.Path())) {
            if (e.path().filename() != "BadRoms.txt") fs::copy(e.path(), dir_ / "roms" / e.path().filename());
            fs::remove_all(e.path());
        }
        ui_ = FakeUi();
        ui_.folderAnswer = target_.Str();
    }
    std::string Folder() const { return "LVN|0|Folder selected was: " + target_.Str(); }
    std::string Count(int n) const { return "Bad roms found|1|" + std::to_string(n) + " bad roms found."; }
    std::string AllMoved() const {
        return "LVN|0|All Bad roms moved to " + target_.Str() + ".\r\nSummary Report Written";
    }
    std::string Args() const { return StandInArgs(dir_.Path(), "mame"); }

    TmpfsMount target_;  // another file system where one can be mounted (as root)
    FakeUi ui_;
    MAIN_form form_{App(), ui_};
};

// An unusable ROM path stops before the picker; the report needs more than ten
// characters (silent checks add four a set); an unwritable report is named.
TEST_F(AuditTest, RefusedRomPathReportThresholdAndUnwritableReport) {
    Sets({"s0", "s1"});
    WriteFile(dir_ / "mame.ini", "rompath roms;;more\n");
    form_.Move_bad_roms_Click();
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(Shown(ui_)[0].rfind("Rom audit not started|2|The rom audit cannot start: ", 0), 0u);
    EXPECT_NE(ui_.messages[0].text.find(App() + "/mame.ini"), std::string::npos) << ui_.messages[0].text;
    EXPECT_TRUE(ui_.folderInstructions.empty());
    fs::remove(dir_ / "mame.ini");
    Restore();
    WriteFile(dir_ / "mame.mode", "silent");
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Shown(ui_), (Strings{kNote, kWarning, Folder(), Count(2)}));
    EXPECT_EQ(ListDir(target_.Path()), "s0.zip s1.zip");
    Restore();
    Sets({"s0", "s1", "s2"});
    form_.State().Combo1.Clear();
    form_.Move_bad_roms_Click();
    EXPECT_EQ(form_.State().Combo1.ListCount(), 3) << "an empty list is rebuilt, nothing checked";
    EXPECT_EQ(Shown(ui_).back(), Count(0));
    Restore();
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Shown(ui_), (Strings{kNote, kWarning, Folder(), Count(3), AllMoved()}));
    EXPECT_EQ(ReadFile(target_.Path() / "BadRoms.txt"), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
    Restore();
    Frontend_code::StartFrontend(form_);
    fs::create_directories(target_.Path() / "BadRoms.txt");
    form_.Move_bad_roms_Click();
    ASSERT_EQ(ui_.messages.size(), 5u);
    EXPECT_EQ(Shown(ui_)[4].rfind("Summary Report not written|3|The summary report could not be written to " +
                                      target_.Str() + "/BadRoms.txt:\r\n", 0), 0u) << Shown(ui_)[4];
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt s0.zip s1.zip s2.zip");
}

TEST_F(AuditTest, ANameIsTrimmedInTheCommandButNotInTheSetFileName) {
    Sets({});
    form_.State().Combo1.AddItem("Pac-Man    [ pacman ]");
    WriteFile(dir_ / "roms" / " pacman .zip", "set");
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Args(), "pacman\t-verifyroms\n");
    EXPECT_EQ(ListDir(target_.Path()), " pacman .zip BadRoms.txt");
}

// Cancel in the picker (a second click meanwhile starts nothing); Cancel ends hung checks.
TEST_F(AuditTest, CancelInThePickerOrWhileTheEmulatorHangsMovesNothing) {
    Sets({"s0", "s1", "s2"});
    ui_.folderAnswer = "";
    int pumps = 0;
    ui_.onPump = [&] {
        if (pumps++ == 0) form_.Move_bad_roms_Click();
    };
    form_.Move_bad_roms_Click();
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(Shown(ui_), (Strings{kNote, kWarning, "LVN|0|No folder selected!\r\nExiting rom audit"}));
    EXPECT_EQ(ui_.folderInstructions, Strings{"Please select a folder to place all bad roms."});
    EXPECT_EQ(ui_.busyPointerChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(Args(), "");
    Restore();
    WriteFile(dir_ / "mame.mode", "hang");
    ui_.onPump = [&] { ui_.cancelRequested = ui_.progressOpen; };
    form_.Move_bad_roms_Click();
    EXPECT_TRUE(ui_.cancelRequested) << "the window was not kept live while the checks ran";
    EXPECT_EQ(ListDir(dir_ / "roms"), "s0.zip s1.zip s2.zip");
    EXPECT_EQ(ListDir(target_.Path()), "");
    EXPECT_EQ(Shown(ui_).back(), Count(0));
    EXPECT_EQ(ui_.progressCloses, 1);
}

// Never overwrite in the target; only the first ROM directory's sets move.
TEST_F(AuditTest, SetsThatCannotBeMovedStayCountedAndTheReportSaysWhy) {
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
    EXPECT_EQ(Shown(ui_)[3], Count(4));
    EXPECT_EQ(ReadFile(target_.Path() / "pacman.zip"), "theirs");
    EXPECT_EQ(ReadFile(dir_ / "roms" / "pacman.zip"), "mine");
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt natodef.zip pacman.zip");
    EXPECT_EQ(ListDir(dir_ / "more"), "galaga.zip");
}

// The set that does not fit stays whole, the report says why, later sets still move.
TEST_F(AuditTest, ASetThatDoesNotFitTheTargetStaysWholeAndTheReportSaysWhy) {
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
    EXPECT_EQ(Shown(ui_).at(3), Count(3));
}

// The emulator goes away after three sets: those are dealt with in full, the rest stay.
TEST_F(AuditTest, AnEmulatorThatCannotBeStartedStopsTheAudit) {
    Sets({"s0", "s1", "s2", "s3", "s4"});
    form_.SetAuditParallelism(1);
    ui_.onProgress = [&](const FakeUi::Progress& p) {
        if (p.done == 2) fs::permissions(dir_ / "mame", fs::perms(0644));
    };
    form_.Move_bad_roms_Click();
    const std::string stopped = "Rom audit stopped|3|The emulator could not be started:\r\n" + App() +
                                "/mame\r\n" + std::strerror(EACCES) +
                                "\r\nThe rom audit stopped after 3 of 5 sets; the sets not checked were left "
                                "where they are.";
    EXPECT_EQ(Shown(ui_), (Strings{kNote, kWarning, Folder(), stopped, Count(3), AllMoved()}));
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt s0.zip s1.zip s2.zip");
    EXPECT_EQ(ListDir(dir_ / "roms"), "s3.zip s4.zip");
}

// Later sets answer first: the moves and the report are those of one check at a time.
TEST_F(AuditTest, ChecksRunAtOnceGiveTheOutcomeOfChecksOneAfterTheOther) {
    Sets({"s0", "s1", "s2", "s3", "s4", "s5"});
    for (const char* set : {"s0", "s1", "s2"})
        WriteFile(dir_ / "mame.delay" / set, std::to_string(400 - 100 * (set[1] - '0')));
    Good("s1");
    Good("s4");
    WriteFile(dir_ / "mame.verify" / "s5", "s5 is bad\n");
    for (const int parallel : {1, 4}) {
        SCOPED_TRACE(parallel);
        Restore();
        Frontend_code::StartFrontend(form_);
        form_.SetAuditParallelism(parallel);
        form_.Move_bad_roms_Click();
        EXPECT_EQ(ReadFile(target_.Path() / "BadRoms.txt"), NotFound("s0") + "\r\n\r\n" + NotFound("s2") +
                                                                "\r\n\r\n" + NotFound("s3") + "\r\n\r\n" +
                                                                "s5 is bad\n\r\n\r\n\r\n");
        EXPECT_EQ(ListDir(dir_ / "roms"), "s1.zip s4.zip");
        EXPECT_EQ(form_.State().Combo1.Entries(), (Strings{"Game B    [s1]", "Game E    [s4]"}));
        EXPECT_EQ(Shown(ui_), (Strings{kNote, kWarning, Folder(), Count(4), AllMoved()}));
        EXPECT_EQ(ui_.progressTotal, 6);
        for (std::size_t i = 1; i < ui_.progress.size(); ++i)
            EXPECT_LE(ui_.progress[i - 1].done, ui_.progress[i].done);
    }
}

struct QuietProgress : AuditProgress {
    void DoEvents() override {}
    void Update(int, int, const std::string&) override {}
    bool Cancelled() override { return false; }
};

// The clone is checked before its parent moves: without the machine list every
// early check reruns; with it (at once or arriving late) only the clone.
TEST_F(AuditTest, ACloneIsCheckedAgainAfterItsParentMoved) {
    Sets({"first", "parent", "clone", "other"});
    for (const char* set : {"first", "parent"}) WriteFile(dir_ / "mame.delay" / set, "500");
    for (const char* set : {"first", "clone", "other"}) Good(set);
    WriteFile(dir_ / "mame.needs" / "clone", "parent");
    for (const auto& [listxml, reruns] : {std::pair{0, 2}, {1, 1}, {2, 1}}) {  // listxml: none, at once, late
        SCOPED_TRACE(listxml);
        if (listxml)
            WriteFile(dir_ / "mame.listxml",
                      "<mame><machine name=\"first\"></machine><machine name=\"parent\"></machine>"
                      "<machine name=\"clone\" romof=\"parent\"></machine><machine name=\"other\">"
                      "<device_ref name=\"dev\"/></machine><machine name=\"dev\"></machine></mame>");
        if (listxml == 2) {
            WriteFile(dir_ / "mame", "#!/bin/bash\n[ \"$1\" = -listxml ] && sleep 1\nexec -a \"$0\" " +
                                         StandInProgram() + " \"$@\"\n");
            fs::permissions(dir_ / "mame", fs::perms::owner_all);
        }
        Restore();
        QuietProgress quiet;
        const RomAuditResult r = RunRomAudit(
            {App(), "mame", App() + "/roms/", target_.Str(), {"first", "parent", "clone", "other"}, 4}, quiet);
        EXPECT_EQ(r.moved, (Strings{"parent.zip", "clone.zip"}));
        EXPECT_EQ(r.report, NotFound("parent") + "\r\n\r\n" + NotFound("clone") + "\r\n\r\n");
        EXPECT_EQ(r.reruns, reruns);
        EXPECT_EQ(r.dependenciesKnown, listxml > 0);
    }
}

// Names decoded; a missing parent or a cut-off machine leaves a set unknown (it may read
// anything); the real emulator's list names parents, BIOS and devices.
TEST(RomDependencies, TheMachineListTellsWhichSetsACheckReads) {
    RomDependencies deps;
    deps.Add(std::string_view(
        "<machine name=\"b&amp;c\" romof=\"bios\"><rom name=\"x\"/><device_ref name=\"dev\"/></machine>"
        "<machine name=\"bios\" isbios=\"yes\"></machine><machine name=\"dev\" isdevice=\"yes\"></machine>"
        "<machine name=\"orphan\" romof=\"gone\"></machine><machine name=\"cut\" romof=\"bios\">"));
    EXPECT_TRUE(deps.MayDependOn("b&c", "bios") && deps.MayDependOn("b&c", "dev"));
    EXPECT_FALSE(deps.MayDependOn("b&c", "orphan"));
    EXPECT_TRUE(deps.MayDependOn("orphan", "anything"));
    EXPECT_FALSE(deps.Known("cut"));
    if (!RealEmulatorAvailable()) GTEST_SKIP() << "no " << kRealEmulator;
    RomDependencies real;
    real.Add(std::string_view(
        RunCapture({kRealEmulator, "-listxml", "pacman", "puckman", "mslug", "neogeo"}, true, false).text));
    EXPECT_TRUE(real.MayDependOn("pacman", "puckman") && real.MayDependOn("mslug", "neogeo"));
    EXPECT_TRUE(real.MayDependOn("pacman", "z80"));
    EXPECT_FALSE(real.MayDependOn("puckman", "pacman"));
    EXPECT_FALSE(real.MayDependOn("pacman", "mslug"));
}

}  // namespace
}  // namespace lorvane::test
