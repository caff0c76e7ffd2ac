#include "platform/command_capture_posix.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

#include "child_test.h"
#include "platform/detached_start.h"

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

// Kill reaches grandchildren.
TEST_F(ChildTest, KillEndsWhatTheChildStarted) {
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
