// The bad ROM set audit over the stand-in emulator, real files and Debian's emulator.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <numeric>
#include <set>
#include <sstream>

#include "audit/rom_audit.h"
#include "form/main_form.h"
#include "platform/file_io.h"
#include "support/app_dir_test.h"
#include "support/native_path.h"
#include "support/real_emulator.h"
#include "support/standin.h"
#include "support/tmpfs_mount.h"

namespace lorvane::audit {
namespace {

namespace fs = std::filesystem;
using namespace test;
using form::MainForm;
using platform::DescribeStartError;
using platform::kPathSeparator;
using platform::kProgramsHaveExtension;
using platform::SetReadFaultHook;

const std::string kNote =
    "Please Note|2|This Rom audit will currently only audit the first rom path located in "
    "your MAME.ini.";
const std::string kWarning =
    "Warning this could take a while|2|WARNING this will take a while if there are a lot of roms "
    "to check.\r\n"
    "Press cancel on the folder select screen to abort the audit before it begins.";

std::string NotFound(const std::string& set) { return "romset \"" + set + "\" not found!\n"; }

bool ProcessGone(int pid) {
#ifdef _WIN32
    const HANDLE h = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!h) return true;
    const bool ended = ::WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
    ::CloseHandle(h);
    return ended;
#else
    return ::kill(pid, 0) == -1 && errno == ESRCH;
#endif
}

class AuditTest : public AppDirTest {
protected:
    void SetUp() override {
        AppDirTest::SetUp();
        Restore();
        form_.State().emulatorFileName = kMameExe;
    }
    void Sets(const Strings& sets) {
        InstallStandIn(dir_.Path(), kMameExe);
        for (const char* d : {".verify", ".delay", ".needs"})
            fs::create_directories(dir_ / (kMameExe + d));
        std::string data = "Name:             Description:\n";
        for (std::size_t i = 0; i < sets.size(); ++i) {
            data += sets[i] + std::string(18 - sets[i].size(), ' ') + "\"Game " + char('A' + i) +
                    "\"\n";
            WriteFile(dir_ / "roms" / (sets[i] + ".zip"), "PK");
        }
        WriteFile(dir_ / "LVN_LIST.txt", data + "\n");
        form_.RebuildGameList();
    }
    void Restore() {
        for (const auto& e : fs::directory_iterator(target_.Path())) {
            if (e.path().filename() != "BadRoms.txt")
                fs::copy(e.path(), dir_ / "roms" / e.path().filename());
            fs::remove_all(e.path());
        }
        ui_ = FakeUi();
        ui_.folderAnswer = target_.Str();
    }
    std::string Count(int n) const {
        return "Bad roms found|1|" + std::to_string(n) + " bad roms found.";
    }
    // The messages of an audit: `stopped` (if any) after the folder; the count
    // and the closing message, or for n < 0 none of them.
    Strings Done(const std::string& stopped, int n) const {
        Strings out{kNote,
                    kWarning,
                    "LVN|0|Folder selected was: " + target_.Str(),
                    stopped,
                    Count(n),
                    "LVN|0|All Bad roms moved to " + target_.Str() + ".\r\nSummary Report Written"};
        if (n < 0) out.resize(4);
        if (stopped.empty()) out.erase(out.begin() + 3);
        return out;
    }
    std::string Cancelled(int checked, int moved, const std::string& report) const {
        return "Rom audit cancelled|1|The rom audit was cancelled after " +
               std::to_string(checked) + " of 3 sets were checked: " + std::to_string(moved) +
               " bad, " + std::to_string(moved) + " of them moved to " + target_.Str() +
               ".\r\nThe sets not checked were left where they are.\r\n" + report;
    }

    TmpfsMount target_;  // another file system where one can be mounted (as root)
    FakeUi ui_;
    MainForm form_{App(), ui_};
};

// Bad ROM path: no picker; Cancel (second click starts nothing) or hung checks: nothing moves.
TEST_F(AuditTest, RefusedRomPathCancelAndUnwritableReport) {
    Sets({"s0", "s1", "s2"});
    WriteFile(dir_ / "mame.ini", "rompath roms;;more\n");
    form_.MoveBadRomSets();
    EXPECT_EQ(Shown(ui_).at(0).rfind("Rom audit not started|2|The rom audit cannot start: ", 0),
              0u);
    EXPECT_NE(ui_.messages[0].text.find(App() + Native("/mame.ini")), std::string::npos)
        << ui_.messages[0].text;
    fs::remove(dir_ / "mame.ini");
    ui_ = FakeUi();
    int pumps = 0;
    ui_.onPump = [&] {
        if (pumps++ == 0) form_.MoveBadRomSets();
    };
    form_.MoveBadRomSets();
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(Shown(ui_),
              (Strings{kNote, kWarning, "LVN|0|No folder selected!\r\nExiting rom audit"}));
    EXPECT_EQ(ui_.folderInstructions, Strings{"Please select a folder to place all bad roms."});
    EXPECT_EQ(StandInArgs(dir_.Path(), kMameExe), "");
    Restore();
    WriteFile(dir_ / (kMameExe + ".mode"), "hang");
    // Cancel once the run has begun (told its session), which a slow start (Wine) may take a while
    // to do.
    const fs::path began = dir_ / (kMameExe + ".session");
    ui_.onPump = [&] {
        ui_.cancelRequested =
            ui_.progressOpen && fs::exists(began) && ReadFile(began).ends_with('\n');
    };
    form_.MoveBadRomSets();
    EXPECT_TRUE(ui_.cancelRequested) << "the window was not kept live while the checks ran";
    EXPECT_EQ(ListDir(dir_ / "roms"), "s0.zip s1.zip s2.zip");
    EXPECT_EQ(Shown(ui_), Done(Cancelled(0, 0, "No summary report was written."), -1));
    EXPECT_EQ(StandInArgs(dir_.Path(), kMameExe), "-verifyroms\ts0\ts1\ts2\n")
        << "one run over the three sets";
    const std::string session =
        ReadFile(dir_ / (kMameExe + ".session"));  // "sid pid", or "pid" on Windows
    EXPECT_TRUE(ProcessGone(
        std::stoi(session.substr(session.find(' ') == std::string::npos ? 0 : session.find(' ')))))
        << "the run over several sets was not ended";
    // Cancelled part way, one check at a time: what was dealt with is reported, nothing starts
    // after.
    Restore();
    fs::remove(dir_ / (kMameExe + ".mode"));
    fs::remove(dir_ / (kMameExe + ".args"));
    form_.SetAuditParallelism(1);
    std::string runsAtCancel;
    ui_.onProgress = [&](const FakeUi::Progress& p) {
        if (p.done < 2 || ui_.cancelRequested) return;
        ui_.cancelRequested = true;
        runsAtCancel = StandInArgs(dir_.Path(), kMameExe);
    };
    form_.MoveBadRomSets();
    EXPECT_EQ(StandInArgs(dir_.Path(), kMameExe), runsAtCancel) << "a check started after Cancel";
    EXPECT_EQ(ui_.progressLabels.front(), "0 of 3")
        << "the progress window opens on the count alone";
    EXPECT_NE(std::ranges::find(ui_.progressLabels, "1 of 3\r\ns1"), ui_.progressLabels.end())
        << "sets done of the total, then the set at hand";
    EXPECT_EQ(Shown(ui_), Done(Cancelled(2, 2,
                                         "The summary report is " + target_.Str() +
                                             Native("/BadRoms.txt") + "."),
                               -1));
    EXPECT_EQ(ReadFile(target_.Path() / "BadRoms.txt"),
              NotFound("s0") + "\r\n\r\n" + NotFound("s1") + "\r\n\r\n\r\n");
    EXPECT_EQ(ListDir(dir_ / "roms"), "s2.zip");
    Restore();
    fs::create_directories(target_.Path() / "BadRoms.txt");
    form_.MoveBadRomSets();
    EXPECT_EQ(Shown(ui_).at(4).rfind(
                  "Summary Report not written|3|The summary report could not be written to " +
                      target_.Str() + Native("/BadRoms.txt") + ":\r\n",
                  0),
              0u)
        << Shown(ui_)[4];
}

// Never overwrite in the target; only the first ROM directory's sets move.
TEST_F(AuditTest, SetsThatCannotBeMovedStayAndTheReportSaysWhy) {
    Sets({"natodef", "pacman", "galaga"});
    WriteFile(dir_ / "mame.ini", "rompath roms;more\n");
    fs::create_directories(dir_ / "more");
    fs::rename(dir_ / "roms" / "galaga.zip", dir_ / "more" / "galaga.zip");
    WriteFile(dir_ / "roms" / "pacman.zip", "mine");
    WriteFile(target_.Path() / "pacman.zip", "theirs");
    form_.RebuildGameList();  // galaga from the second directory, natodefa after natodef
    SetReadFaultHook([](const std::string& path) {
        return path.ends_with(Native("/LVN_LIST.txt")) ? EACCES : 0;
    });
    form_.MoveBadRomSets();  // the rebuild after it cannot read the data file
    SetReadFaultHook(nullptr);
    Strings shown = Done("", 4);
    shown.insert(shown.begin() + 4, "ERROR|3|Press button on menu to create Mame data file");
    EXPECT_EQ(Shown(ui_), shown);
    const std::string notFirst =
        " was not moved: it is not in the first ROM directory " + App() + Native("/roms/");
    EXPECT_EQ(ReadFile(target_.Path() / "BadRoms.txt"),
              NotFound("natodef") + "\r\n\r\n" + NotFound("pacman") +
                  "pacman.zip was not moved: a file of that name is already in " + target_.Str() +
                  "\r\n\r\n" + NotFound("galaga") + "galaga.zip" + notFirst + "\r\n\r\n" +
                  NotFound("natodefa") + "natodefa.zip" + notFirst + "\r\n\r\n\r\n");
    EXPECT_EQ(ReadFile(target_.Path() / "pacman.zip") + ReadFile(dir_ / "roms" / "pacman.zip"),
              "theirsmine");
    EXPECT_EQ(ListDir(target_.Path()), "BadRoms.txt natodef.zip pacman.zip");
}

#ifdef _WIN32
// A set file another program holds open stays where it is, and the report says why; the others
// move.
TEST_F(AuditTest, ASetFileHeldOpenStaysAndTheReportSaysWhy) {
    Sets({"s0", "s1"});
    const HANDLE held = ::CreateFileW((dir_ / "roms" / "s0.zip").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    form_.MoveBadRomSets();
    ::CloseHandle(held);
    EXPECT_EQ(Shown(ui_), Done("", 2));
    EXPECT_EQ(ListDir(dir_ / "roms") + " | " + ListDir(target_.Path()),
              "s0.zip | BadRoms.txt s1.zip");
    const std::string report = ReadFile(target_.Path() / "BadRoms.txt");
    EXPECT_EQ(report.find(NotFound("s0") + "s0.zip was not moved: "), 0u) << report;
    EXPECT_NE(report.find("another program has the file open"), std::string::npos) << report;
}
#endif

// A full target: the set that does not fit stays whole, the report says why, later sets move.
TEST_F(AuditTest, ASetThatDoesNotFitTheTargetStaysWhole) {
    TmpfsMount full("64k");
    if (!full.Made()) GTEST_SKIP() << full.Why();
    Sets({"small", "big", "after"});
    const std::string big(256 << 10, 'b');
    WriteFile(dir_ / "roms" / "big.zip", big);
    ui_.folderAnswer = full.Str();
    form_.MoveBadRomSets();
    EXPECT_EQ(ListDir(full.Path()), "BadRoms.txt after.zip small.zip");
    EXPECT_EQ(ReadFile(dir_ / "roms" / "big.zip"), big);
    const std::string report = ReadFile(full.Path() / "BadRoms.txt");
    EXPECT_NE(report.find(NotFound("big") + "big.zip was not moved: "), std::string::npos)
        << report;
    EXPECT_NE(report.find(std::strerror(ENOSPC)), std::string::npos) << report;
}

// The emulator goes away after three sets: those are dealt with in full, the rest stay.
TEST_F(AuditTest, AnEmulatorThatCannotBeStartedStopsTheAudit) {
    Sets({"s0", "s1", "s2", "s3", "s4"});
    form_.SetAuditParallelism(1);
    // No longer startable: without permission here; renamed on Windows, which keeps no such bits.
    const int why = kProgramsHaveExtension ? ENOENT : EACCES;
    ui_.onProgress = [&](const FakeUi::Progress& p) {
        if (p.done != 2 || !fs::exists(dir_ / kMameExe)) return;
        if (kProgramsHaveExtension)
            fs::rename(dir_ / kMameExe, dir_ / "gone.exe");
        else
            fs::permissions(dir_ / kMameExe, {});
    };
    form_.MoveBadRomSets();
    auto stopped = [&](int after) {
        return "Rom audit stopped|3|The emulator could not be started:\r\n" + App() +
               kPathSeparator + kMameExe + "\r\n" + DescribeStartError(why) +
               "\r\nThe rom audit stopped after " + std::to_string(after) +
               " of 5 sets; the sets not checked were left where they are.";
    };
    EXPECT_EQ(Shown(ui_), Done(stopped(3), 3));
    EXPECT_EQ(ListDir(target_.Path()) + " | " + ListDir(dir_ / "roms"),
              "BadRoms.txt s0.zip s1.zip s2.zip | s3.zip s4.zip");
    Restore();  // from the start: the first run over several sets cannot start either
    form_.RebuildGameList();
    form_.SetAuditParallelism(0);
    form_.MoveBadRomSets();
    EXPECT_EQ(Shown(ui_), (Strings{kNote, kWarning, "LVN|0|Folder selected was: " + target_.Str(),
                                   stopped(0), Count(0)}));
    EXPECT_EQ(ListDir(dir_ / "roms"), "s0.zip s1.zip s2.zip s3.zip s4.zip");
}

// Later sets answer first, s4 reads s0: checks at once move and report as one at a time, also when
// the emulator does not know -listxml (the stand-in without mame.listxml: an error, exit 6).
TEST_F(AuditTest, ChecksRunAtOnceGiveTheOutcomeOfChecksOneAfterTheOther) {
    const Strings sets = {"s0", "s1", "s2", "s3", "s4", "s5"};
    Sets(sets);
    for (int ms = 4; const char* set : {"s0", "s1", "s2"})
        WriteFile(dir_ / (kMameExe + ".delay") / set, std::to_string(ms--) + "00");
    for (const char* set : {"s1", "s4"})
        WriteFile(dir_ / (kMameExe + ".verify") / set, "1 romsets found, 1 were OK.\n");
    WriteFile(dir_ / (kMameExe + ".verify") / "s5", "s5 is bad\n");
    WriteFile(dir_ / (kMameExe + ".needs") / "s4", "s0");
    std::string xml = "<mame>";
    for (const auto& n : sets)
        xml += "<machine name=\"" + n + (n == "s4" ? "\" romof=\"s0" : "") + "\"></machine>";
    for (const auto& [parallel, listxml] : {std::pair{1, false}, {4, false}, {4, true}}) {
        SCOPED_TRACE(std::to_string(parallel) + (listxml ? " with the machine list" : ""));
        if (listxml) WriteFile(dir_ / (kMameExe + ".listxml"), xml + "</mame>");
        Restore();
        form_.RebuildGameList();
        form_.SetAuditParallelism(parallel);
        form_.MoveBadRomSets();
        EXPECT_EQ(ReadFile(target_.Path() / "BadRoms.txt"),
                  NotFound("s0") + "\r\n\r\n" + NotFound("s2") + "\r\n\r\n" + NotFound("s3") +
                      "\r\n\r\n" + NotFound("s4") + "\r\n\r\ns5 is bad\n\r\n\r\n\r\n");
        EXPECT_EQ(ListDir(dir_ / "roms"), "s1.zip");
        EXPECT_EQ(form_.State().gameList.Entries(), Strings{"Game B    [s1]"});
        EXPECT_EQ(Shown(ui_), Done("", 5));
    }
}

// The runs over several sets, and the sets checked on their own, from the stand-in's log.
std::pair<int, std::string> RunsAndOwnChecks(const std::string& args) {
    int runs = 0;
    std::set<std::string> own;
    std::istringstream lines(args);
    for (std::string line; std::getline(lines, line);) {
        runs += line.starts_with("-verifyroms\t");
        if (line.ends_with("\t-verifyroms")) own.insert(line.substr(0, line.find('\t')));
    }
    return {runs, std::accumulate(own.begin(), own.end(), std::string())};
}

struct ScriptedProgress : AuditProgress {
    void ProcessPendingEvents() override {}
    void Update(int done, int total, const std::string&) override {
        if (onUpdate) onUpdate();
        seen = std::to_string(done) + "/" + std::to_string(total);
    }
    bool Cancelled() override { return false; }
    std::function<void()> onUpdate;
    std::string seen;
};

// Runs over several sets (answers in another order, for a name not asked, in words not known, cut
// off, killed, failed, about a clone after its parent moved or a set file replaced before its
// turn): only a complete good verdict on an asked set spares its own check, and moves, count and
// report are those of own checks alone.
TEST_F(AuditTest, RunsOverSeveralSetsGiveTheOutcomeOfOwnChecks) {
    const Strings sets = {"s0", "s1", "s2", "s3", "s4", "s5", "s6", "s6", "s7", "s8"};
    Sets(sets);
    for (const char* set : {"s0", "s2", "s4", "s8"})
        WriteFile(dir_ / (kMameExe + ".verify") / set, "1 romsets found, 1 were OK.\n");
    WriteFile(dir_ / (kMameExe + ".needs") / "s2", "s1");
    std::string xml = "<mame>";
    for (const std::string& set : sets)
        xml += "<machine name=\"" + set + (set == "s2" ? "\" romof=\"s1" : "") + "\"></machine>";
    xml += "</mame>";
    const std::string answers =
        "romset s8 is good\nromset s9 is good\nromset s7 is fine\nromset s6 is good\nromset s3 is "
        "good\n"
        "romset s2 [s1] is best available\nromset s1 is bad\nromset s0 is best available\nromset "
        "s5 is good";
    const std::string all = "s0s1s2s3s4s5s6s7s8";
    const struct {
        const char* what;
        std::string batch, end;
        bool listxml;
        std::string ownChecks;
    } cases[] = {
        {"verdicts", answers, "5", true, "s1s2s3s4s5s6s7"},
        {"no machine list: any move voids", answers, "2", false, "s1s2s3s4s5s6s7s8"},
        {"killed part way", "romset s0 is good\nromset s1 is good\nromset s2 is", "kill", true,
         all},
        {"an error", "Error: unknown option: s1\n", "6", true, all},
        {"unknown wording", "romset s0 is OK\nromset s1 is OK\n2 romsets found, 2 were OK.\n", "0",
         true, all},
        {"the one-set answer", "", "", true, all},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(dir_ / (kMameExe + ".batch"));
        if (!c.batch.empty()) WriteFile(dir_ / (kMameExe + ".batch"), c.batch);
        WriteFile(dir_ / (kMameExe + ".batchend"), c.end);
        fs::remove(dir_ / (kMameExe + ".listxml"));
        if (c.listxml) WriteFile(dir_ / (kMameExe + ".listxml"), xml);
        std::string outcome[2];
        for (const bool several : {false, true}) {
            Restore();
            fs::remove(dir_ / (kMameExe + ".args"));
            // Three sets a run: several runs, side by side once the first has answered.
            const RomAuditInput input{
                App(), kMameExe, App() + Native("/roms/"), target_.Str(), sets, 4, several, 3};
            ScriptedProgress progress;
            // s3's file is replaced once a run over it has begun (or at once without runs).
            progress.onUpdate = [&, replaced = false]() mutable {
                const std::string args = StandInArgs(dir_.Path(), kMameExe);
                if (replaced || (several && args.find("\ts3") == std::string::npos)) return;
                replaced = true;
                WriteFile(dir_ / "roms" / "s3.new", "PK");
                fs::rename(dir_ / "roms" / "s3.new", dir_ / "roms" / "s3.zip");
            };
            const RomAuditResult r = RunRomAudit(input, progress);
            outcome[several] = r.report + "|" + ::testing::PrintToString(r.moved) + "|" +
                               std::to_string(r.badCount) + "|" + std::to_string(r.done) + "|" +
                               progress.seen + "|" + ListDir(dir_ / "roms");
        }
        EXPECT_EQ(outcome[1], outcome[0]);
        const auto [runs, ownChecks] = RunsAndOwnChecks(StandInArgs(dir_.Path(), kMameExe));
        EXPECT_EQ(ownChecks, c.ownChecks) << StandInArgs(dir_.Path(), kMameExe);
        EXPECT_TRUE(ownChecks == all ? runs == 1 : runs > 1) << runs << " runs over several sets";
    }
    EXPECT_EQ(ListDir(dir_ / "roms"), "s0.zip s4.zip s8.zip");
}

// A zip holding one stored file.
std::string StoredZip(const std::string& name, const std::string& data) {
    std::uint32_t crc = ~0u;
    for (const unsigned char byte : data)
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - ((crc ^ (byte >> k)) & 1u)));
    auto le = [](std::size_t v, int bytes) {
        std::string out;
        for (int k = 0; k < bytes; ++k) out += char(k < 8 ? (v >> (8 * k)) & 0xFF : 0);
        return out;
    };
    const std::string common = le(20, 2) + le(0, 6) + le(0x21, 2) + le(~crc, 4) +
                               le(data.size(), 4) + le(data.size(), 4) + le(name.size(), 2) +
                               le(0, 2);
    const std::string local = le(0x04034b50, 4) + common + name + data;
    const std::string central = le(0x02014b50, 4) + le(20, 2) + common + le(0, 14) + name;
    return local + central + le(0x06054b50, 4) + le(0, 4) + le(0x10001, 4) + le(central.size(), 4) +
           le(local.size(), 4) + le(0, 2);
}

// Debian's emulator: good sets (no dump needed, empty zips), a set whose ROM has a wrong checksum,
// empty zips of sets that need ROMs, a name it does not know, a clone after its bad parent, a set
// listed twice: runs over several sets move and report exactly what checks one at a time do.
TEST_F(AuditTest, RealEmulatorRunsOverSeveralSetsGiveTheOutcomeOfOwnChecks) {
    if (!RealEmulatorAvailable()) GTEST_SKIP() << "no " << kRealEmulator;
    PrepareRealEmulatorDir(dir_.Path());
    const Strings sets = {"fccpu30", "fccpu30lite4", "pong",   "puckman", "galaga",
                          "nosuch",  "breakout",     "galaga", "grid1109"};
    std::string outcome[2];
    RomAuditResult result;
    for (const bool several : {false, true}) {
        Restore();
        for (const std::string& set : sets) WriteFile(dir_ / "roms" / (set + ".zip"), kEmptyZip);
        WriteFile(dir_ / "roms" / "puckman.zip", StoredZip("pm1_prg1.6e", std::string(2048, 'x')));
        ScriptedProgress progress;
        result = RunRomAudit({App(), kMameExe, App() + Native("/roms/"), target_.Str(), sets,
                              several ? 0 : 1, several},
                             progress);
        outcome[several] = result.report + "|" + ::testing::PrintToString(result.moved) + "|" +
                           std::to_string(result.badCount) + "|" + std::to_string(result.done);
    }
    EXPECT_EQ(outcome[1], outcome[0]);
    EXPECT_EQ(result.moved, (Strings{"fccpu30.zip", "puckman.zip", "galaga.zip", "nosuch.zip"}));
    EXPECT_NE(
        result.report.find(
            "puckman     : pm1_prg1.6e (2048 bytes) - INCORRECT CHECKSUM:\nEXPECTED: CRC(f36e88ab) "
            "SHA1(813cecf44bf5464b1aed64b36f5047e4c79ba176)\n   FOUND: CRC(6f5234cf)"),
        std::string::npos)
        << result.report;
    EXPECT_NE(result.report.find("galaga.zip was not moved: it has been moved to"),
              std::string::npos);
    // pong and breakout on the runs' word; fccpu30lite4's set aside, its parent having moved since.
    EXPECT_GE(result.goodFromSeveralSetRuns, 2);
    EXPECT_GE(result.verdictsSetAside, 1);
}

}  // namespace
}  // namespace lorvane::audit
