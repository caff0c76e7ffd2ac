// The front end's children: captured runs (RunCapture, ChildCapture) and detached starts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <thread>

#include "command_capture.h"
#include "detached_start.h"
#include "failure.h"
#include "standin.h"
#include "temp_dir.h"

namespace lorvane::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string WaitForLine(const fs::path& path) {
    for (const auto end = Clock::now() + 10s; Clock::now() < end; std::this_thread::sleep_for(10ms)) {
        const std::string text = fs::exists(path) ? ReadFile(path) : "";
        if (!text.empty() && text.back() == '\n') return text;
    }
    return "";
}

// Every test ends with no child left, running or unreaped, and no descriptor left open.
class ChildTest : public ::testing::Test {
protected:
    void TearDown() override {
        int status = 0;
        EXPECT_TRUE(::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD) << "a child was left";
        EXPECT_EQ(Descriptors(), descriptors_) << "a descriptor was left open";
    }
    static std::ptrdiff_t Descriptors() { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); }
    // A stand-in emulator of its own in `mode` ("" as usual), printing `listing` for -listfull.
    std::string Emu(const std::string& mode, const std::string& listing = "") {
        const std::string name = "mame" + std::to_string(count_++);
        if (!mode.empty()) WriteFile(dir_ / (name + ".mode"), mode);
        if (!listing.empty()) WriteFile(dir_ / (name + ".listfull"), listing);
        return InstallStandIn(dir_.Path(), name).string();
    }
    std::string Text(const std::string& mode, const std::string& listing = "", bool out = true, bool err = true) {
        return MGetCmdOutput::GetCmdOutput({Emu(mode, listing), "-listfull"}, out, err, false);
    }
    // Runs `start` with "abc" on our standard input, which a child that wrongly
    // inherited it would read, and our standard output going to out.txt.
    template <class F>
    void Redirected(F start) {
        WriteFile(dir_ / "in.txt", "abc");
        const int in = ::open((dir_ / "in.txt").c_str(), O_RDONLY | O_CLOEXEC);
        const int out = ::open((dir_ / "out.txt").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        const int saved0 = ::fcntl(0, F_DUPFD_CLOEXEC, 3), saved1 = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
        ::dup2(in, 0), ::dup2(out, 1);
        start();
        ::dup2(saved0, 0), ::dup2(saved1, 1);
        for (const int fd : {in, out, saved0, saved1}) ::close(fd);
    }

    TempDir dir_;
    int count_ = 0;
    const std::ptrdiff_t descriptors_ = Descriptors();
};

// Streams chosen, bytes unchanged (NUL, non-UTF-8, past a pipe's size), every
// writer waited for, how the child ended, and no input inherited.
TEST_F(ChildTest, CaptureKeepsEveryByteAndRecordsHowTheChildEnded) {
    EXPECT_EQ(Text("interleave"), "out1\nerr1\nout2\nerr2\n");
    EXPECT_EQ(Text("interleave", "", true, false), "out1\nout2\n");
    EXPECT_EQ(Text("interleave", "", false, true), "err1\nerr2\n");
    std::string bytes(3 << 20, '\0');
    std::uint64_t x = 1;
    for (char& c : bytes) c = static_cast<char>((x = x * 6364136223846793005u + 1442695040888963407u) >> 56);
    for (const std::size_t n : {21u, 65537u, 3u << 20})
        EXPECT_TRUE(Text("", bytes.substr(0, n)) == bytes.substr(0, n)) << n << " bytes came back altered";

    EXPECT_EQ(RunCapture({Emu("grandchild")}, true, true).text, "late\n") << "returned before the grandchild let go";
    CaptureResult r = RunCapture({Emu(""), "pacman", "-verifyroms"}, true, true);
    EXPECT_EQ(r.text, "romset \"pacman\" not found!\n");
    EXPECT_TRUE(r.started && r.exited && !r.signaled && r.exitStatus == 2);
    r = RunCapture({Emu("crash")}, true, true);
    EXPECT_EQ(r.text, "partial\n");
    EXPECT_TRUE(r.signaled && !r.exited && r.termSignal == SIGKILL);
    std::string text;
    Redirected([&] { text = Text("readstdin"); });
    EXPECT_EQ(text, "stdin:0\n");
}

// No shell and no search along PATH: a program that cannot start gives its errno.
TEST_F(ChildTest, AProgramThatCannotStartGivesItsErrnoAndEmptyText) {
    WriteFile(dir_ / "script", "echo hello\n");
    fs::permissions(dir_ / "script", fs::perms::owner_all);
    InstallStandIn(dir_.Path(), "mame");
    const std::pair<std::string, int> cases[] = {
        {(dir_ / "nosuch").string(), ENOENT}, {(dir_ / "script").string(), ENOEXEC}, {"mame", ENOENT}};
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir_.Str().c_str(), 1);
    for (const auto& [program, err] : cases) {
        SCOPED_TRACE(program);
        const CaptureResult r = RunCapture({program, "-listfull"}, true, true);
        const DetachedStartResult d = StartDetached({program, "pacman"});
        EXPECT_EQ(std::pair(r.started, r.startErrno), std::pair(false, err));
        EXPECT_EQ(std::pair(d.started, d.startErrno), std::pair(false, err));
        EXPECT_EQ(MGetCmdOutput::GetCmdOutput({program}, true, true, false), "");
    }
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_FALSE(RunCapture({}, true, true).started || StartDetached({}).started);
    const std::string emu = Emu("silent");
    EXPECT_THROW(MGetCmdOutput::GetCmdOutput({emu}, false, false, false), Failure);
    EXPECT_FALSE(fs::exists(emu + ".args")) << "capturing neither stream ran the program";
}

TEST_F(ChildTest, KillEndsWhatTheChildStarted) {
    ChildCapture child;
    ASSERT_TRUE(child.Start({Emu("grandchild")}));
    const int watch = ::dup(child.Fd());  // shows whether anyone still holds the write side
    ::usleep(200 * 1000);
    child.Kill();
    pollfd p{watch, POLLIN, 0};
    char buf[16];
    EXPECT_EQ(::poll(&p, 1, 5000), 1) << "the pipe stayed open";
    EXPECT_EQ(::read(watch, buf, sizeof buf), 0) << "the grandchild outlived Kill()";
    ::close(watch);
}

// A child started on one thread that inherited another thread's capture pipe
// would keep that capture waiting.
TEST_F(ChildTest, CapturesOnOtherThreadsNeverHoldEachOthersPipes) {
    const std::string quick = Emu("bytes 10"), slow = Emu("hang");
    std::atomic<int> good{0}, done{0};
    std::thread capturer([&] {
        for (int i = 0; i < 40; ++i) good += RunCapture({quick}, true, true).text == "0123456789";
        done = 1;
    });
    std::vector<ChildCapture> hanging;
    for (const auto end = Clock::now() + 20s; !done && Clock::now() < end;) {
        if (hanging.size() < 100) hanging.emplace_back().Start({slow});
        else std::this_thread::sleep_for(10ms);
    }
    EXPECT_TRUE(done) << "a capture was kept waiting by another capture's child";
    hanging.clear();
    capturer.join();
    EXPECT_EQ(good, 40);
}

TEST_F(ChildTest, DetachedProgramRunsInASessionOfItsOwnWithoutOurInput) {
    const std::string hang = Emu("hang");
    ASSERT_TRUE(StartDetached({hang, "pacman", "-joy"}).started);
    EXPECT_EQ(WaitForLine(hang + ".args"), "pacman\t-joy\n");
    std::istringstream session(WaitForLine(hang + ".session"));
    pid_t sid = 0, pid = 0;
    session >> sid >> pid;
    ASSERT_GT(pid, 0);
    EXPECT_EQ(sid, pid) << "not the leader of a new session";
    EXPECT_EQ(::kill(pid, SIGKILL), 0) << "the program is no longer running";
    bool started = false;
    Redirected([&] { started = StartDetached({Emu("readstdin")}).started; });
    ASSERT_TRUE(started);
    EXPECT_EQ(WaitForLine(dir_ / "out.txt"), "stdin:0\n");
}

}  // namespace
}  // namespace lorvane::test
