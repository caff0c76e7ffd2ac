#include "command_capture.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "failure.h"
#include "process_checks.h"
#include "standin.h"
#include "temp_dir.h"

namespace lorvane {
namespace {

using test::InstallStandIn;
using test::TempDir;
using test::WriteFile;

class CaptureTest : public ::testing::Test {
protected:
    std::string Emulator(const std::string& mode) {
        if (!mode.empty()) WriteFile(dir_ / "mame.mode", mode);
        return emu_;
    }
    std::string Capture(const std::string& mode, bool out = true, bool err = true) {
        return MGetCmdOutput::GetCmdOutput({Emulator(mode), "-listfull"}, out, err, false);
    }

    TempDir dir_;
    std::string emu_ = InstallStandIn(dir_.Path(), "mame").string();
};

std::string Digits(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('0' + i % 10);
    return s;
}

TEST_F(CaptureTest, JoinsTheRequestedStreamsInArrivalOrder) {
    EXPECT_EQ(Capture("silent"), "");
    EXPECT_EQ(Capture("interleave"), "out1\nerr1\nout2\nerr2\n");
    EXPECT_EQ(Capture("interleave", true, false), "out1\nout2\n");
    EXPECT_EQ(Capture("interleave", false, true), "err1\nerr2\n");
}

TEST_F(CaptureTest, ReturnsOutputWhole) {
    for (std::size_t n : {20u, 21u, 40u, 65536u, 65537u}) {
        EXPECT_EQ(Capture("bytes " + std::to_string(n)), Digits(n)) << n << " bytes";
    }

    std::string listing;
    char line[64];
    for (int k = 0; k < 3 * 32768; ++k) {
        std::snprintf(line, sizeof line, "g%07d  \"Game number %07d\"\n", k, k);
        listing += line;
    }
    const std::string got = Capture("megabytes 3");
    EXPECT_EQ(got.size(), 3u * 1024 * 1024);
    EXPECT_TRUE(got == listing) << "the listing came back altered";

    // Bytes pass through unchanged, NUL included.
    const std::string noise = Capture("noise 2");
    EXPECT_EQ(noise.size(), 2u * 1024 * 1024);
    EXPECT_NE(noise.find('\0'), std::string::npos);
}

TEST_F(CaptureTest, WaitsForEveryWriterAndLeavesNoChild) {
    const auto start = std::chrono::steady_clock::now();
    const CaptureResult r = RunCapture({Emulator("grandchild")}, true, true);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(r.text, "late\n");
    EXPECT_GE(took.count(), 0.9);
    EXPECT_TRUE(r.exited);
    EXPECT_TRUE(test::NoChildLeft());

    test::StdinHolding input("abc");
    EXPECT_EQ(Capture("readstdin"), "stdin:0\n");
    EXPECT_TRUE(test::NoChildLeft());
}

TEST_F(CaptureTest, RecordsHowTheChildEnded) {
    CaptureResult r = RunCapture({Emulator(""), "pacman", "-verifyroms"}, true, true);
    EXPECT_TRUE(r.started);
    EXPECT_EQ(r.text, "romset \"pacman\" not found!\n");
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.exitStatus, 2);
    EXPECT_FALSE(r.signaled);

    r = RunCapture({Emulator("crash")}, true, true);
    EXPECT_EQ(r.text, "partial\n");
    EXPECT_FALSE(r.exited);
    EXPECT_TRUE(r.signaled);
    EXPECT_EQ(r.termSignal, SIGKILL);
    EXPECT_TRUE(test::NoChildLeft());
}

TEST_F(CaptureTest, StartFailureGivesEmptyText) {
    WriteFile(dir_ / "plain.txt", "echo hello\n");
    std::filesystem::permissions(dir_ / "plain.txt", std::filesystem::perms::owner_read);
    WriteFile(dir_ / "garbage", "not a program at all\n");
    std::filesystem::permissions(dir_ / "garbage", std::filesystem::perms::owner_all);

    const struct {
        std::string program;
        int err;
    } cases[] = {
        {(dir_ / "nosuch").string(), ENOENT},
        {(dir_ / "plain.txt").string(), EACCES},
        {(dir_ / "garbage").string(), ENOEXEC},
        {dir_.Str(), EACCES},
        {"mame", ENOENT},  // no search along PATH: a bare name is relative to the working directory
    };
    for (const auto& c : cases) {
        const CaptureResult r = RunCapture({c.program, "-listfull"}, true, true);
        EXPECT_FALSE(r.started) << c.program;
        EXPECT_EQ(r.startErrno, c.err) << c.program;
        EXPECT_EQ(r.text, "") << c.program;
        EXPECT_EQ(MGetCmdOutput::GetCmdOutput({c.program}, true, true, false), "") << c.program;
    }
    EXPECT_FALSE(RunCapture({}, true, true).started);
    EXPECT_TRUE(test::NoChildLeft());
}

TEST_F(CaptureTest, ClosesEveryDescriptorItOpened) {
    const int before = test::OpenDescriptorCount();
    RunCapture({Emulator("bytes 100")}, true, false);
    RunCapture({Emulator("crash")}, false, true);
    RunCapture({(dir_ / "nosuch").string()}, true, true);
    {
        ChildCapture child;
        ASSERT_TRUE(child.Start({Emulator("hang")}));
        child.Kill();
    }
    EXPECT_EQ(test::OpenDescriptorCount(), before);
}

TEST_F(CaptureTest, NeitherStreamFailsBeforeStarting) {
    try {
        MGetCmdOutput::GetCmdOutput({Emulator("silent")}, false, false, false);
        FAIL() << "no failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Number(), ErrNo::InvalidArgument);
        EXPECT_FALSE(f.Description().empty());
    }
    EXPECT_EQ(test::StandInArgs(dir_.Path(), "mame"), "") << "the program ran";
}

TEST(ChildCapture, ConcurrentChildrenKeepTheirOwnOutput) {
    TempDir dirs[4];
    const char* modes[] = {"hang", "bytes 100000", "megabytes 1", "interleave"};
    std::vector<ChildCapture> children(4);
    // The hanging child starts first: had it inherited the later pipes, their
    // captures would never see their end.
    for (int i = 0; i < 4; ++i) {
        const std::string emu = InstallStandIn(dirs[i].Path(), "mame").string();
        WriteFile(dirs[i] / "mame.mode", modes[i]);
        ASSERT_TRUE(children[static_cast<std::size_t>(i)].Start({emu}));
    }

    std::vector<bool> open{true, true, true, true};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((open[1] || open[2] || open[3]) && std::chrono::steady_clock::now() < deadline) {
        std::vector<pollfd> fds;
        for (std::size_t i = 0; i < 4; ++i) fds.push_back({open[i] ? children[i].Fd() : -1, POLLIN, 0});
        ASSERT_GE(::poll(fds.data(), fds.size(), 1000), 0);
        for (std::size_t i = 0; i < 4; ++i)
            if (open[i] && fds[i].revents != 0) open[i] = children[i].ReadAvailable();
    }
    ASSERT_FALSE(open[1] || open[2] || open[3]) << "a capture never saw the end of its pipe";

    EXPECT_EQ(children[1].Finish().text, Digits(100000));
    EXPECT_EQ(children[2].Finish().text.size(), 1024u * 1024);
    EXPECT_EQ(children[2].Result().text.substr(0, 32), "g0000000  \"Game number 0000000\"\n");
    EXPECT_EQ(children[3].Finish().text, "out1\nerr1\nout2\nerr2\n");

    EXPECT_TRUE(open[0]);
    EXPECT_TRUE(children[0].Running());
    children[0].Kill();
    EXPECT_FALSE(children[0].Running());
    EXPECT_TRUE(children[0].Result().signaled);
    EXPECT_EQ(children[0].Result().termSignal, SIGKILL);
    EXPECT_TRUE(test::NoChildLeft());
}

TEST(ChildCapture, CapturesOnOtherThreadsNeverHoldEachOthersPipes) {
    TempDir quick, slow;
    const std::string quickEmu = InstallStandIn(quick.Path(), "mame").string();
    const std::string slowEmu = InstallStandIn(slow.Path(), "mame").string();
    WriteFile(quick / "mame.mode", "bytes 10");
    WriteFile(slow / "mame.mode", "hang");

    // Hanging children keep being started while another thread captures: one
    // that inherited a capture's write end would keep that capture waiting.
    std::atomic<int> good{0};
    std::atomic<bool> done{false};
    std::thread capturer([&] {
        for (int i = 0; i < 40; ++i)
            if (RunCapture({quickEmu}, true, true).text == "0123456789") ++good;
        done = true;
    });
    std::vector<ChildCapture> hanging;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done && std::chrono::steady_clock::now() < deadline) {
        if (hanging.size() < 100) {
            hanging.emplace_back();
            hanging.back().Start({slowEmu});
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    const bool finished = done;
    hanging.clear();  // kills them, which also frees a capture that was stuck
    capturer.join();
    EXPECT_TRUE(finished) << "a capture was kept waiting by another capture's child";
    EXPECT_EQ(good, 40);
    EXPECT_TRUE(test::NoChildLeft());
}

TEST(ChildCapture, KillEndsWhatTheChildStarted) {
    TempDir dir;
    const std::string emu = InstallStandIn(dir.Path(), "mame").string();
    WriteFile(dir / "mame.mode", "grandchild");
    ChildCapture child;
    ASSERT_TRUE(child.Start({emu}));
    // A second read end shows whether anyone still holds the write side.
    const int watch = ::dup(child.Fd());
    ASSERT_GE(watch, 0);
    ::usleep(200 * 1000);  // time for the grandchild to be started
    child.Kill();

    pollfd p{watch, POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1) << "the pipe stayed open";
    char buf[16];
    EXPECT_EQ(::read(watch, buf, sizeof buf), 0) << "the grandchild outlived Kill()";
    ::close(watch);
    EXPECT_TRUE(test::NoChildLeft());
}

TEST(ChildCapture, DestroyingRunningCaptureReapsIt) {
    TempDir dir;
    const std::string emu = InstallStandIn(dir.Path(), "mame").string();
    WriteFile(dir / "mame.mode", "hang");
    {
        ChildCapture child;
        ASSERT_TRUE(child.Start({emu}));
        ChildCapture moved = std::move(child);
        EXPECT_FALSE(child.Running());
        EXPECT_TRUE(moved.Running());
    }
    EXPECT_TRUE(test::NoChildLeft());
}

}  // namespace
}  // namespace lorvane
