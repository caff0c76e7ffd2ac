#include "platform/command_capture_posix.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/command_capture.h"
#include "platform/detached_start.h"
#include "support/standin.h"
#include "support/temp_dir.h"

namespace lorvane::platform {
namespace {

using namespace test;

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string WaitForLine(const fs::path& path) {
    for (const auto end = Clock::now() + 10s; Clock::now() < end; std::this_thread::sleep_for(10ms))
        if (const std::string text = fs::exists(path) ? ReadFile(path) : ""; text.ends_with('\n'))
            return text;
    return "";
}

// Every test ends with no child left, running or unreaped, and no descriptor left open.
class ChildTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD) << "a child was left";
        EXPECT_EQ(Descriptors(), descriptors_) << "a descriptor was left open";
    }
    static std::ptrdiff_t Descriptors() {
        return std::distance(fs::directory_iterator("/proc/self/fd"), {});
    }
    std::string Emu(const std::string& mode, const std::string& listing = "") {
        const std::string name = "mame" + std::to_string(count_++);
        WriteFile(dir_ / (name + ".mode"), mode);
        WriteFile(dir_ / (name + ".listfull"), listing);
        return InstallStandIn(dir_.Path(), name).string();
    }
    std::string Text(const std::string& mode, const std::string& listing = "", bool err = true) {
        return CapturedText({Emu(mode, listing), "-listfull"}, true, err, false);
    }
    TempDir dir_;
    int count_ = 0;
    const std::ptrdiff_t descriptors_ = Descriptors();
};

// Streams chosen, bytes unchanged past a pipe's size, every writer waited for, Kill reaches
// grandchildren.
TEST_F(ChildTest, CaptureKeepsEveryByteAndKillEndsWhatTheChildStarted) {
    EXPECT_EQ(Text("interleave"), "out1\nerr1\nout2\nerr2\n");
    EXPECT_EQ(Text("interleave", "", false), "out1\nout2\n");
    std::string bytes(3 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
    EXPECT_TRUE(Text("", bytes) == bytes) << "the bytes came back altered";
    EXPECT_EQ(RunCapture({Emu("grandchild")}, true, true).text, "late\n")
        << "returned before the grandchild let go";
    ChildCapture child;
    ASSERT_TRUE(child.Start({Emu("grandchild")}));
    const int watch = ::dup(
        ChildCaptureAccess::ReadFd(child));  // shows whether anyone still holds the write side
    ::usleep(200 * 1000);
    child.Kill();
    pollfd p{watch, POLLIN, 0};
    char buf[16];
    EXPECT_TRUE(::poll(&p, 1, 5000) == 1 && ::read(watch, buf, sizeof buf) == 0)
        << "the grandchild outlived Kill()";
    ::close(watch);
}

// No shell, no PATH search: a program that cannot start gives its errno; one that can runs in its
// own session.
TEST_F(ChildTest, AProgramThatCannotStartGivesItsErrnoAndEmptyText) {
    WriteFile(dir_ / "script", "echo hello\n");
    fs::permissions(dir_ / "script", fs::perms::owner_all);
    InstallStandIn(dir_.Path(), "mame");
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", dir_.Str().c_str(), 1);
    for (const auto& [program, err] :
         {std::pair((dir_ / "script").string(), ENOEXEC), {"mame", ENOENT}}) {
        const CaptureResult r = RunCapture({program, "-listfull"}, true, true);
        const DetachedStartResult d = StartDetached({program, "pacman"});
        EXPECT_EQ(std::tuple(r.started, r.startErrno, d.started, d.startErrno),
                  std::tuple(false, err, false, err))
            << program;
    }
    ::setenv("PATH", path.c_str(), 1);
    const std::string hang = Emu("hang");
    ASSERT_TRUE(StartDetached({hang, "pacman", "-joy"}).started);
    EXPECT_EQ(WaitForLine(hang + ".args"), "pacman\t-joy\n");
    int sid = 0, pid = 0;
    ASSERT_TRUE(std::sscanf(WaitForLine(hang + ".session").c_str(), "%d %d", &sid, &pid) == 2 &&
                pid > 0);
    EXPECT_EQ(sid, pid) << "not the leader of a new session";
    EXPECT_EQ(::kill(pid, SIGKILL), 0) << "the program is no longer running";
}

}  // namespace
}  // namespace lorvane::platform
