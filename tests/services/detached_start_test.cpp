#include "detached_start.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "process_checks.h"
#include "standin.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

using test::TempDir;

// The stand-in writes its files after it has started; wait for them a while.
std::string WaitForFile(const std::filesystem::path& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::filesystem::exists(path)) {
            const std::string text = test::ReadFile(path);
            if (!text.empty() && text.back() == '\n') return text;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
}

TEST(StartDetached, RunsTheProgramInASessionOfItsOwn) {
    TempDir dir;
    const std::string emu = test::InstallStandIn(dir.Path(), "mame").string();
    test::WriteFile(dir / "mame.mode", "hang");

    const DetachedStartResult r = StartDetached({emu, "pacman", "-joy"});
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.startErrno, 0);
    // Neither waited for nor left as our child.
    EXPECT_TRUE(test::NoChildLeft());

    EXPECT_EQ(WaitForFile(dir / "mame.args"), "pacman\t-joy\n");
    std::istringstream session(WaitForFile(dir / "mame.session"));
    pid_t sid = 0, pid = 0;
    session >> sid >> pid;
    ASSERT_GT(pid, 0);
    EXPECT_EQ(sid, pid) << "not the leader of a new session";
    EXPECT_NE(sid, ::getsid(0));
    EXPECT_EQ(::kill(pid, 0), 0) << "the program is no longer running";
    ::kill(pid, SIGKILL);
}

TEST(StartDetached, ProgramReadsNothingAndWritesToOurOutput) {
    TempDir dir;
    const std::string emu = test::InstallStandIn(dir.Path(), "mame").string();
    test::WriteFile(dir / "mame.mode", "readstdin");

    // Our standard output goes to a file for the length of the start.
    const int file = ::open((dir / "out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(file, 0);
    test::StdinHolding input("abc");
    const int saved = ::dup(1);
    ::dup2(file, 1);
    const DetachedStartResult r = StartDetached({emu});
    ::dup2(saved, 1);
    ::close(saved);
    ::close(file);

    ASSERT_TRUE(r.started);
    EXPECT_EQ(WaitForFile(dir / "out.txt"), "stdin:0\n");
}

TEST(StartDetached, ReportsAProgramThatCannotStart) {
    TempDir dir;
    test::WriteFile(dir / "plain.txt", "text");
    std::filesystem::permissions(dir / "plain.txt", std::filesystem::perms::owner_read);

    DetachedStartResult r = StartDetached({(dir / "nosuch").string(), "pacman"});
    EXPECT_FALSE(r.started);
    EXPECT_EQ(r.startErrno, ENOENT);
    r = StartDetached({(dir / "plain.txt").string()});
    EXPECT_FALSE(r.started);
    EXPECT_EQ(r.startErrno, EACCES);
    EXPECT_FALSE(StartDetached({}).started);
    EXPECT_TRUE(test::NoChildLeft());
}

}  // namespace
}  // namespace lorvane
