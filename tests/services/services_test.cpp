#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "command_capture.h"
#include "detached_start.h"
#include "emulator_commands.h"
#include "file_exists.h"
#include "file_identity.h"
#include "file_io.h"
#include "file_move.h"
#include "standin.h"
#include "temp_dir.h"
#include "wait_seconds.h"

namespace lorvane::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string WaitForLine(const fs::path& path) {
    for (const auto end = Clock::now() + 10s; Clock::now() < end; std::this_thread::sleep_for(10ms))
        if (const std::string text = fs::exists(path) ? ReadFile(path) : ""; text.ends_with('\n')) return text;
    return "";
}

// Every test ends with no child left, running or unreaped, and no descriptor left open.
class ChildTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD) << "a child was left";
        EXPECT_EQ(Descriptors(), descriptors_) << "a descriptor was left open";
    }
    static std::ptrdiff_t Descriptors() { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); }
    std::string Emu(const std::string& mode, const std::string& listing = "") {
        const std::string name = "mame" + std::to_string(count_++);
        WriteFile(dir_ / (name + ".mode"), mode);
        WriteFile(dir_ / (name + ".listfull"), listing);
        return InstallStandIn(dir_.Path(), name).string();
    }
    std::string Text(const std::string& mode, const std::string& listing = "", bool err = true) {
        return MGetCmdOutput::GetCmdOutput({Emu(mode, listing), "-listfull"}, true, err, false);
    }
    TempDir dir_;
    int count_ = 0;
    const std::ptrdiff_t descriptors_ = Descriptors();
};

// Streams chosen, bytes unchanged past a pipe's size, every writer waited for, Kill reaches grandchildren.
TEST_F(ChildTest, CaptureKeepsEveryByteAndKillEndsWhatTheChildStarted) {
    EXPECT_EQ(Text("interleave"), "out1\nerr1\nout2\nerr2\n");
    EXPECT_EQ(Text("interleave", "", false), "out1\nout2\n");
    std::string bytes(3 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
    EXPECT_TRUE(Text("", bytes) == bytes) << "the bytes came back altered";
    EXPECT_EQ(RunCapture({Emu("grandchild")}, true, true).text, "late\n") << "returned before the grandchild let go";
    ChildCapture child;
    ASSERT_TRUE(child.Start({Emu("grandchild")}));
    const int watch = ::dup(child.Fd());  // shows whether anyone still holds the write side
    ::usleep(200 * 1000);
    child.Kill();
    pollfd p{watch, POLLIN, 0};
    char buf[16];
    EXPECT_TRUE(::poll(&p, 1, 5000) == 1 && ::read(watch, buf, sizeof buf) == 0) << "the grandchild outlived Kill()";
    ::close(watch);
}

// No shell, no PATH search: a program that cannot start gives its errno; one that can runs in its own session.
TEST_F(ChildTest, AProgramThatCannotStartGivesItsErrnoAndEmptyText) {
    WriteFile(dir_ / "script", "echo hello\n");
    fs::permissions(dir_ / "script", fs::perms::owner_all);
    InstallStandIn(dir_.Path(), "mame");
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir_.Str().c_str(), 1);
    for (const auto& [program, err] : {std::pair((dir_ / "script").string(), ENOEXEC), {"mame", ENOENT}}) {
        const CaptureResult r = RunCapture({program, "-listfull"}, true, true);
        const DetachedStartResult d = StartDetached({program, "pacman"});
        EXPECT_EQ(std::tuple(r.started, r.startErrno, d.started, d.startErrno), std::tuple(false, err, false, err)) << program;
    }
    ::setenv("PATH", path.c_str(), 1);
    const std::string hang = Emu("hang");
    ASSERT_TRUE(StartDetached({hang, "pacman", "-joy"}).started);
    EXPECT_EQ(WaitForLine(hang + ".args"), "pacman\t-joy\n");
    int sid = 0, pid = 0;
    ASSERT_TRUE(std::sscanf(WaitForLine(hang + ".session").c_str(), "%d %d", &sid, &pid) == 2 && pid > 0);
    EXPECT_EQ(sid, pid) << "not the leader of a new session";
    EXPECT_EQ(::kill(pid, SIGKILL), 0) << "the program is no longer running";
}

// Blanks in the directory and a shell-like name stay one path; the verdict needs the exact phrase.
TEST(EmulatorCommands, CommandsRunAsBuiltAndAreJudgedByTheExactPhrase) {
    TempDir dir;
    const std::string odd = "mame -listfull; rm x", appDir = dir.Str() + "/My Games";
    fs::create_directories(appDir);
    InstallStandIn(appDir, odd);
    for (const CommandLine& argv : {ListFullCommand(appDir, odd), VerifyCommand(appDir, odd, " pong ", "  -joy -x ")})
        MGetCmdOutput::GetCmdOutput(argv, true, true, false);
    EXPECT_EQ(StandInArgs(appDir, odd), "-listfull\npong\t-joy\t-x\t-verifyroms\n");
    EXPECT_FALSE(VerdictPasses("romset pong is best available\n1 romsets found, 1 were ok.\n"));
}

// A wait lasts its time, pumps only when asked; a failing handler ends it quietly.
TEST(WaitSeconds, WaitsTheTimeAskedAndEndsQuietlyOnAFailure) {
    struct Pump : EventPump {
        void DoEvents() override { ++pumps, throw std::runtime_error("handler failed"); }
        int pumps = 0;
    } idle, failing;
    const auto start = Clock::now();
    Clean_code::WaitSeconds(0.2f, false, idle);
    Clean_code::WaitSeconds(-1.5f, true, idle);
    EXPECT_GE(Clock::now() - start, 200ms);
    EXPECT_NO_THROW(Clean_code::WaitSeconds(5.0f, true, failing));
    EXPECT_EQ(std::pair(idle.pumps, failing.pumps), std::pair(0, 1));
}

// Ordinary visible files only, the last name a pattern; an earlier pending failure is cleared.
TEST(Files, FileExistsFindsOnlyOrdinaryVisibleFiles) {
    TempDir dir;
    fs::create_directories(dir / "odd" / "folder.zip");
    fs::create_symlink(dir / "loop", dir / "loop");
    for (const char* name : {"mame", ".hidden", "pacman.zip", "odd/.secret.zip"}) WriteFile(dir / name, "x");
    const std::tuple<std::string, bool, std::int32_t> cases[] = {
        {"mame", true, 0}, {".hidden", false, 0}, {"odd", false, 0}, {"p*.zip", true, 0}, {"odd/*.zip", false, 0},
        {"loop", false, ErrNo::PathFileAccessError}, {std::string(300, 'n'), false, ErrNo::BadFileName}};
    for (const auto& [name, found, number] : cases) {
        PendingError pending;
        pending.Set(ErrNo::ExecutableNotFound, "left over");
        EXPECT_EQ(std::pair(Clean_code::FileExists((dir / name).string(), pending), pending.number), std::pair(found, number)) << name;
    }
}

// Same file only when unchanged: replaced with the same size and time, rewritten, or put there differs.
TEST(Files, FileIdentityTellsAReplacedFile) {
    TempDir dir;
    const std::string zip = (dir / "pong.zip").string();
    const FileIdentity none = IdentifyFile(zip);
    for (const char* name : {"pong.zip", "other.zip"}) {
        WriteFile(dir / name, "PK");
        fs::last_write_time(dir / name, fs::file_time_type::clock::now() - 1h);
    }
    const FileIdentity first = IdentifyFile(zip);
    EXPECT_TRUE(SameFile(none, IdentifyFile(dir / "absent")) && SameFile(first, IdentifyFile(zip)));
    fs::rename(dir / "other.zip", zip);
    const FileIdentity second = IdentifyFile(zip);
    WriteFile(zip, "PQ");
    EXPECT_FALSE(SameFile(none, first) || SameFile(first, second) || SameFile(second, IdentifyFile(zip)));
    const FileIdentity unknown = IdentifyFile(zip + "/inside");
    EXPECT_FALSE(SameFile(unknown, unknown) || !unknown.failure) << "what cannot be examined matches nothing";
}

// Atomic write through a link keeps the mode; a cross-file-system move failing at any step keeps the source.
TEST(Files, AtomicWriteAndMoveNeverDestroyAFile) {
    TempDir dir;
    WriteFile(dir / "LVN.ini", "old");
    fs::create_directories(dir / "bad");
    fs::permissions(dir / "LVN.ini", fs::perms(0640));
    fs::create_symlink(dir / "LVN.ini", dir / "link");
    WriteFileAtomically((dir / "link").string(), "[Settings]\r\nJoy=0\r\n");
    EXPECT_EQ(ReadFile(dir / "LVN.ini"), "[Settings]\r\nJoy=0\r\n");
    EXPECT_TRUE(fs::is_symlink(dir / "link") && fs::status(dir / "LVN.ini").permissions() == fs::perms(0640));
    EXPECT_EQ(ListDir(dir.Path()), "LVN.ini bad link") << "a temporary stayed";
    fs::remove(dir / "link");
    fs::remove(dir / "LVN.ini");
    const std::string from = (dir / "pacman.zip").string(), to = (dir / "bad/pacman.zip").string();
    const std::string content = std::string("PK\x05\x06", 4) + std::string(70000, 'z');
    WriteFile(from, content);
    fs::permissions(from, fs::perms(0640));
    static const char* failStep = "";  // every rename counts as one across file systems
    static int failErr = 0;
    SetMoveFaultHook([](const char* step, const std::string&) {
        return std::strcmp(step, failStep) == 0 ? failErr : std::strcmp(step, "rename") == 0 ? EXDEV : 0;
    });
    using enum MoveOutcome;
    const std::tuple<const char*, int, MoveOutcome, std::int32_t> cases[] = {
        {"copy", ENOSPC, Failed, ErrNo::DiskFull}, {"sync", EIO, Failed, ErrNo::DeviceIoError},
        {"place", EACCES, Failed, ErrNo::PermissionDenied}, {"syncdir", ENOSPC, Failed, ErrNo::DiskFull},
        {"unlink", EIO, Failed, ErrNo::DeviceIoError}, {"rename", EACCES, Failed, ErrNo::PermissionDenied},
        {"place", EEXIST, TargetExists, ErrNo::None}};  // the name was taken after the check
    for (const auto& [step, err, outcome, number] : cases) {
        SCOPED_TRACE(std::string(step) + " " + std::strerror(err));
        failStep = step;
        failErr = err;
        const MoveResult r = MoveFileNoReplace(from, to);
        EXPECT_EQ(std::pair(r.outcome, r.failure ? r.failure->Number() : ErrNo::None), std::pair(outcome, number));
        EXPECT_EQ(ReadFile(from) + ListDir(dir / "bad"), content) << "the source changed or something stayed";
    }
    failStep = "";
    EXPECT_EQ(MoveFileNoReplace(from, to).outcome, Moved);
    SetMoveFaultHook(nullptr);
    EXPECT_TRUE(ReadFile(to) == content && fs::status(to).permissions() == fs::perms(0640));
    EXPECT_EQ(ListDir(dir.Path()), "bad") << "the source or a temporary stayed";
}

}  // namespace
}  // namespace lorvane::test
