// The bad ROM set audit: which sets move, what the report holds, what the
// user is told, and that checks run at once give the one-at-a-time outcome.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "app_dir_fixture.h"
#include "fake_ui.h"
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

using Strings = std::vector<std::string>;

const std::string kEmptyZip = std::string("PK\x05\x06", 4) + std::string(18, '\0');
const std::string kNote = "Please Note|2|This Rom audit will currently only audit the first rom path located in your MAME.ini.";
const std::string kWarning =
    "Warning this could take a while|2|WARNING this will take a while if there are a lot of roms to check.\r\n"
    "Press cancel on the folder select screen to abort the audit before it begins.";

std::string Good(const std::string& set) { return "romset " + set + " is good\n1 romsets found, 1 were OK.\n"; }
std::string NotFound(const std::string& set) { return "romset \"" + set + "\" not found!\n"; }

class AuditTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        fs::create_directories(dir_ / "roms");
        ui_.folderAnswer = target_.Str();
        form_.State().MameExeName = "mame";
    }

    // The stand-in emulator, a zip in roms/ per set and the data file listing
    // them in the given order; the list is loaded.
    void Sets(const Strings& sets) {
        InstallStandIn(dir_.Path(), "mame");
        for (const char* d : {"mame.verify", "mame.delay", "mame.needs"}) fs::create_directories(dir_ / d);
        std::string data = "Name:             Description:\n";
        for (std::size_t i = 0; i < sets.size(); ++i) {
            data += sets[i] + std::string(18 - std::min<std::size_t>(17, sets[i].size()), ' ') + "\"Game " +
                    char('A' + i) + "\"\n";
            WriteFile(dir_ / "roms" / (sets[i] + ".zip"), kEmptyZip);
        }
        WriteFile(dir_ / "LVN_LIST.txt", data + "\n");
        Frontend_code::StartFrontend(form_);
    }
    void Answer(const std::string& set, const std::string& text) { WriteFile(dir_ / "mame.verify" / set, text); }
    void Delay(const std::string& set, int ms) { WriteFile(dir_ / "mame.delay" / set, std::to_string(ms)); }

    // "title|icon|text" of every message shown.
    Strings Shown() const {
        Strings out;
        for (const RecordedMessage& m : ui_.messages)
            out.push_back(m.title + "|" + std::to_string(static_cast<int>(m.icon)) + "|" + m.text);
        return out;
    }
    std::string Folder() const { return "LVN|0|Folder selected was: " + target_.Str(); }
    std::string Count(int n) const { return "Bad roms found|1|" + std::to_string(n) + " bad roms found."; }
    std::string AllMoved() const {
        return "LVN|0|All Bad roms moved to " + target_.Str() + ".\r\nSummary Report Written";
    }
    // The check commands the emulator got, sorted: runs at once log in any order.
    std::string Checks() const {
        Strings lines;
        const std::string args = StandInArgs(dir_.Path(), "mame");
        for (std::size_t p = 0, e; p < args.size(); p = e + 1) {
            e = args.find('\n', p);
            if (args.compare(p, 8, "-listxml") != 0) lines.push_back(args.substr(p, e - p + 1));
        }
        std::sort(lines.begin(), lines.end());
        std::string out;
        for (const std::string& line : lines) out += line;
        return out;
    }

    TempDir target_;
    FakeUi ui_;
    MAIN_form form_{App(), ui_};
};

TEST_F(AuditTest, RealEmulatorMovesExactlyTheFailingSetsAndReportsThemInListOrder) {
    if (!RealEmulatorAvailable()) GTEST_SKIP() << "no " << kRealEmulator;
    PrepareRealEmulatorDir(dir_.Path());
    for (const char* set : {"pong", "breakout", "pacman", "galaxian"})
        WriteFile(dir_ / "roms" / (std::string(set) + ".zip"), kEmptyZip);
    WriteFile(dir_ / "LVN_LIST.txt",
              "Name:             Description:\n"
              "breakout          \"Breakout [TTL]\"\n"
              "galaxian          \"Galaxian (Namco set 1)\"\n"
              "pacman            \"Pac-Man (Midway)\"\n"
              "pong              \"Pong (Rev E) [TTL]\"\n\n");
    Frontend_code::StartFrontend(form_);
    ASSERT_EQ(form_.State().Combo1.ListCount(), 4);

    form_.Move_bad_roms_Click();

    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt galaxian.zip pacman.zip");
    EXPECT_EQ(ListDir(dir_ / "roms"), "breakout.zip pong.zip");
    EXPECT_EQ(ReadFile(target_ / "BadRoms.txt"),
              NotFound("galaxian") + "\r\n\r\n" + NotFound("pacman") + "\r\n\r\n" + "\r\n");
    EXPECT_EQ(Shown(), (Strings{kNote, kWarning, Folder(), Count(2), AllMoved()}));
    EXPECT_EQ(form_.State().Combo1.Entries(), (Strings{"Breakout [TTL]    [breakout]", "Pong (Rev E) [TTL]    [pong]"}));
    EXPECT_EQ(form_.State().caption, "Lorvane   (romcount = 2)");
    EXPECT_EQ(ui_.busyPointerChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(ui_.progressTotal, 4);
    EXPECT_EQ(ui_.progressCloses, 1);
}

TEST_F(AuditTest, AnEmptyListOrGoodSetsMoveNothingAndWriteNoReport) {
    Sets({"pong", "breakout", "galaga"});
    form_.State().Combo1.Clear();
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Shown(), (Strings{kNote, kWarning, Folder(), Count(0)}));
    EXPECT_EQ(Checks(), "");
    EXPECT_EQ(form_.State().Combo1.ListCount(), 3) << "the list is rebuilt";

    ui_.messages.clear();
    for (const char* set : {"pong", "breakout", "galaga"}) Answer(set, Good(set));
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Shown(), (Strings{kNote, kWarning, Folder(), Count(0)}));
    EXPECT_EQ(Checks(), "breakout\t-verifyroms\ngalaga\t-verifyroms\npong\t-verifyroms\n");
    EXPECT_EQ(ListDir(target_.Path()), "");
    EXPECT_EQ(ListDir(dir_ / "roms"), "breakout.zip galaga.zip pong.zip");
}

TEST_F(AuditTest, AReportOfTenCharactersOrLessIsNotWrittenButTheSetsStillMove) {
    for (int bad = 1; bad <= 3; ++bad) {
        SCOPED_TRACE(bad);
        Strings sets;
        for (int i = 0; i < bad; ++i) sets.push_back("set" + std::to_string(i));
        Sets(sets);
        WriteFile(dir_ / "mame.mode", "silent");  // every check prints nothing
        ui_.messages.clear();
        form_.Move_bad_roms_Click();

        const Strings shown = Shown();
        ASSERT_GE(shown.size(), 4u);
        EXPECT_EQ(shown[3], Count(bad));
        EXPECT_EQ(ListDir(dir_ / "roms"), "");
        if (bad < 3) {
            EXPECT_EQ(shown.size(), 4u) << "no report, no summary message";
            EXPECT_FALSE(fs::exists(target_ / "BadRoms.txt"));
        } else {
            EXPECT_EQ(shown.back(), AllMoved());
            EXPECT_EQ(ReadFile(target_ / "BadRoms.txt"), "\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
        }
        for (const auto& e : fs::directory_iterator(target_.Path())) fs::remove(e.path());
    }
}

TEST_F(AuditTest, ANameIsTrimmedInTheCommandButNotInTheSetFileName) {
    Sets({});
    form_.State().Combo1.AddItem("Pac-Man    [ pacman ]");
    WriteFile(dir_ / "roms" / " pacman .zip", "set");
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Checks(), "pacman\t-verifyroms\n");
    EXPECT_EQ(ListDir(target_.Path()), " pacman .zip BadRoms.txt");
    EXPECT_EQ(ReadFile(target_ / "BadRoms.txt"), NotFound("pacman") + "\r\n\r\n\r\n");
}

TEST_F(AuditTest, CancelInTheFolderPickerOrDuringTheAuditStopsBeforeTheNextSet) {
    Sets({"s0", "s1", "s2", "s3", "s4"});
    ui_.folderAnswer = "";
    form_.Move_bad_roms_Click();
    EXPECT_EQ(Shown(), (Strings{kNote, kWarning, "LVN|0|No folder selected!\r\nExiting rom audit"}));
    EXPECT_EQ(ui_.folderInstructions, Strings{"Please select a folder to place all bad roms."});
    EXPECT_EQ(Checks(), "");
    EXPECT_EQ(ui_.busyPointerChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(ui_.repaints, 1);
    EXPECT_EQ(ui_.progressCloses, 0);

    ui_.messages.clear();
    ui_.folderAnswer = target_.Str();
    ui_.onProgress = [&](const FakeUi::Progress& p) {
        if (p.done >= 2) ui_.cancelRequested = true;
    };
    form_.Move_bad_roms_Click();
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt s0.zip s1.zip");
    EXPECT_EQ(ListDir(dir_ / "roms"), "s2.zip s3.zip s4.zip");
    EXPECT_EQ(ReadFile(target_ / "BadRoms.txt"), NotFound("s0") + "\r\n\r\n" + NotFound("s1") + "\r\n\r\n\r\n");
    EXPECT_EQ(Shown(), (Strings{kNote, kWarning, Folder(), Count(2), AllMoved()}));
    EXPECT_EQ(ui_.progressCloses, 1);
}

TEST_F(AuditTest, SetsThatCannotBeMovedStayCountedAndTheReportSaysWhy) {
    Sets({"natodef", "pacman", "galaga"});
    WriteFile(dir_ / "mame.ini", "rompath roms;more\n");
    fs::create_directories(dir_ / "more");
    fs::rename(dir_ / "roms" / "galaga.zip", dir_ / "more" / "galaga.zip");
    WriteFile(dir_ / "roms" / "pacman.zip", "mine");
    WriteFile(target_ / "pacman.zip", "theirs");
    Frontend_code::StartFrontend(form_);  // galaga from the second directory, natodefa after natodef

    form_.Move_bad_roms_Click();

    const std::string notFirst = " was not moved: it is not in the first ROM directory " + App() + "/roms/";
    EXPECT_EQ(ReadFile(target_ / "BadRoms.txt"),
              NotFound("natodef") + "\r\n\r\n" +  //
                  NotFound("pacman") + "pacman.zip was not moved: a file of that name is already in " +
                  target_.Str() + "\r\n\r\n" +  //
                  NotFound("galaga") + "galaga.zip" + notFirst + "\r\n\r\n" +
                  NotFound("natodefa") + "natodefa.zip" + notFirst + "\r\n\r\n\r\n");
    EXPECT_EQ(Shown()[3], Count(4));
    EXPECT_EQ(ReadFile(target_ / "pacman.zip"), "theirs");
    EXPECT_EQ(ReadFile(dir_ / "roms" / "pacman.zip"), "mine");
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt natodef.zip pacman.zip");
    EXPECT_EQ(ListDir(dir_ / "more"), "galaga.zip");
}

TEST_F(AuditTest, BadSetsMoveOntoAnotherFileSystem) {
    TmpfsMount other;
    if (!other.Mounted()) GTEST_SKIP() << "no second file system: " << other.Why();
    Sets({"pong", "pacman", "galaga"});
    Answer("pong", Good("pong"));
    ui_.folderAnswer = other.Str();
    form_.Move_bad_roms_Click();
    EXPECT_EQ(ListDir(other.Path()), "BadRoms.txt galaga.zip pacman.zip");
    EXPECT_EQ(ReadFile(other.Path() / "pacman.zip"), kEmptyZip);
    EXPECT_EQ(ListDir(dir_ / "roms"), "pong.zip");
}

TEST_F(AuditTest, AnEmulatorThatCannotBeStartedStopsTheAuditAndLeavesTheRestInPlace) {
    Sets({"s0", "s1", "s2", "s3", "s4"});
    fs::remove(dir_ / "mame");
    form_.Move_bad_roms_Click();
    ASSERT_EQ(Shown().size(), 5u);
    const RecordedMessage& stop = ui_.messages[3];
    EXPECT_EQ(stop.title, "Rom audit stopped");
    EXPECT_EQ(stop.icon, MsgIcon::Critical);
    EXPECT_NE(stop.text.find(App() + "/mame\r\n" + std::strerror(ENOENT)), std::string::npos) << stop.text;
    EXPECT_EQ(Shown()[4], Count(0));
    EXPECT_EQ(ListDir(dir_ / "roms"), "s0.zip s1.zip s2.zip s3.zip s4.zip");

    // It goes away after three sets: those three are dealt with in full.
    InstallStandIn(dir_.Path(), "mame");
    ui_.messages.clear();
    form_.SetAuditParallelism(1);
    ui_.onProgress = [&](const FakeUi::Progress& p) {
        if (p.done == 2) fs::permissions(dir_ / "mame", fs::perms(0644));
    };
    form_.Move_bad_roms_Click();
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt s0.zip s1.zip s2.zip");
    EXPECT_EQ(ListDir(dir_ / "roms"), "s3.zip s4.zip");
    const Strings shown = Shown();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_NE(shown[3].find(std::strerror(EACCES)), std::string::npos) << shown[3];
    EXPECT_EQ(shown[4], Count(3));
    EXPECT_EQ(shown[5], AllMoved());
}

TEST_F(AuditTest, ChecksRunAtOnceAreAppliedInListOrder) {
    Sets({"s0", "s1", "s2", "s3", "s4", "s5"});
    Delay("s0", 400);
    Delay("s1", 300);
    Delay("s2", 200);
    Answer("s1", Good("s1"));
    Answer("s4", Good("s4"));
    Answer("s5", "s5 is bad\n");
    form_.SetAuditParallelism(4);
    form_.Move_bad_roms_Click();
    EXPECT_EQ(ReadFile(target_ / "BadRoms.txt"), NotFound("s0") + "\r\n\r\n" + NotFound("s2") + "\r\n\r\n" +
                                                     NotFound("s3") + "\r\n\r\n" + "s5 is bad\n\r\n\r\n\r\n");
    EXPECT_EQ(ListDir(dir_ / "roms"), "s1.zip s4.zip");
    EXPECT_EQ(Shown()[3], Count(4));
    for (std::size_t i = 1; i < ui_.progress.size(); ++i) EXPECT_LE(ui_.progress[i - 1].done, ui_.progress[i].done);
}

TEST_F(AuditTest, ASecondClickDuringTheWaitOrAnUnreadableRomPathStartsNothing) {
    Sets({"s0"});
    ui_.folderAnswer = "";
    bool clicked = false;
    ui_.onPump = [&] {
        if (clicked) return;
        clicked = true;
        form_.Move_bad_roms_Click();
    };
    form_.Move_bad_roms_Click();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(Shown(), (Strings{kNote, kWarning, "LVN|0|No folder selected!\r\nExiting rom audit"}));

    for (const char* ini : {"rompath roms;;more\n", "rompath\n"}) {
        SCOPED_TRACE(ini);
        WriteFile(dir_ / "mame.ini", ini);
        ui_ = FakeUi{};
        form_.Move_bad_roms_Click();
        ASSERT_EQ(ui_.messages.size(), 1u);
        EXPECT_EQ(ui_.messages[0].title, "Rom audit not started");
        EXPECT_NE(ui_.messages[0].text.find(App() + "/mame.ini"), std::string::npos) << ui_.messages[0].text;
        EXPECT_TRUE(ui_.busyPointerChanges.empty());
        EXPECT_TRUE(ui_.folderInstructions.empty());
    }
}

TEST_F(AuditTest, AReportThatCannotBeWrittenIsToldAndTheSetsStayMoved) {
    Sets({"s0", "s1", "s2"});
    fs::create_directories(target_ / "BadRoms.txt");
    form_.Move_bad_roms_Click();
    const Strings shown = Shown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[3], Count(3));
    EXPECT_EQ(ui_.messages[4].title, "Summary Report not written");
    EXPECT_NE(ui_.messages[4].text.find(target_.Str() + "/BadRoms.txt"), std::string::npos);
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt s0.zip s1.zip s2.zip");
    EXPECT_TRUE(fs::is_empty(target_ / "BadRoms.txt"));
}

struct QuietProgress : AuditProgress {
    void DoEvents() override {}
    void Update(int, int, const std::string&) override {}
    bool Cancelled() override { return false; }
};

TEST_F(AuditTest, ACloneIsCheckedAfterItsParentMovedAndOnlyThat) {
    Sets({"first", "parent", "clone", "other"});
    Delay("first", 500);
    Delay("parent", 500);
    Answer("first", Good("first"));
    Answer("clone", Good("clone"));
    WriteFile(dir_ / "mame.needs" / "clone", "parent");
    Answer("other", Good("other"));
    const std::string listxml =
        "<mame><machine name=\"first\"></machine><machine name=\"parent\"></machine>"
        "<machine name=\"clone\" romof=\"parent\"></machine>"
        "<machine name=\"other\"><device_ref name=\"dev\"/></machine><machine name=\"dev\"></machine></mame>";

    // At once, the clone is checked before the parent moves: without knowing
    // what reads what, every check started early runs again; knowing it, only
    // the clone; and once that is known before it starts, the clone waits.
    struct Run {
        int parallel;
        bool listxml;
        int reruns;
    };
    for (const Run run : {Run{1, false, 0}, Run{4, false, 2}, Run{4, true, 1}, Run{2, true, 0}}) {
        SCOPED_TRACE(std::to_string(run.parallel) + (run.listxml ? " with" : " without") + " dependencies");
        fs::remove(dir_ / "mame.listxml");
        if (run.listxml) WriteFile(dir_ / "mame.listxml", listxml);
        for (const auto& e : fs::directory_iterator(target_.Path()))
            fs::rename(e.path(), dir_ / "roms" / e.path().filename());
        QuietProgress quiet;
        const RomAuditResult r = RunRomAudit(
            {App(), "mame", App() + "/roms/", target_.Str(), {"first", "parent", "clone", "other"}, run.parallel},
            quiet);
        EXPECT_EQ(r.moved, (Strings{"parent.zip", "clone.zip"}));
        EXPECT_EQ(r.report, NotFound("parent") + "\r\n\r\n" + NotFound("clone") + "\r\n\r\n");
        EXPECT_EQ(r.reruns, run.reruns);
        EXPECT_EQ(r.dependenciesKnown, run.listxml);
    }
}

TEST(RomDependencies, TheMachineListTellsWhichSetsACheckReads) {
    RomDependencies deps;
    deps.Add(std::string_view(
        "<machine name=\"b&amp;c\" romof=\"bios\"><rom name=\"x\"/><device_ref name=\"dev\"/></machine>"
        "<machine name=\"bios\" isbios=\"yes\"></machine><machine name=\"dev\" isdevice=\"yes\"></machine>"
        "<machine name=\"orphan\" romof=\"gone\"></machine><machine name=\"cut\" romof=\"bios\">"));
    EXPECT_TRUE(deps.MayDependOn("b&c", "bios"));
    EXPECT_TRUE(deps.MayDependOn("b&c", "dev"));
    EXPECT_FALSE(deps.MayDependOn("b&c", "orphan"));
    EXPECT_FALSE(deps.Known("orphan")) << "its parent is not in the list";
    EXPECT_TRUE(deps.MayDependOn("orphan", "anything"));
    EXPECT_FALSE(deps.Known("cut")) << "a machine cut off is not taken";

    if (!RealEmulatorAvailable()) GTEST_SKIP() << "no " << kRealEmulator;
    const CaptureResult xml = RunCapture({kRealEmulator, "-listxml", "pacman", "puckman", "mslug", "neogeo"}, true, false);
    RomDependencies real;
    real.Add(std::string_view(xml.text));
    EXPECT_TRUE(real.Known("pacman"));
    EXPECT_TRUE(real.MayDependOn("pacman", "puckman"));
    EXPECT_TRUE(real.MayDependOn("mslug", "neogeo"));
    EXPECT_TRUE(real.MayDependOn("pacman", "z80"));
    EXPECT_FALSE(real.MayDependOn("puckman", "pacman"));
    EXPECT_FALSE(real.MayDependOn("pacman", "mslug"));
}

}  // namespace
}  // namespace lorvane::test
