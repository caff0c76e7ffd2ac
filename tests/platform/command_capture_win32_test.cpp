// The capture and the detached start on Windows (run under Wine by make test).
#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "child_test.h"
#include "platform/detached_start.h"
#include "platform/win32_process.h"
#include "util/scope_exit.h"

namespace lorvane::platform {
namespace {

using namespace test;

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The process ids a stand-in recorded in name.session, once there are count.
std::vector<DWORD> WaitForPids(const fs::path& session, std::size_t count) {
    for (const auto end = Clock::now() + 10s; Clock::now() < end;
         std::this_thread::sleep_for(10ms)) {
        std::vector<DWORD> pids;
        std::string text = fs::exists(session) ? ReadFile(session) : "";
        for (std::size_t at = 0, nl; (nl = text.find('\n', at)) != std::string::npos; at = nl + 1)
            pids.push_back(static_cast<DWORD>(std::stoul(text.substr(at, nl - at))));
        if (pids.size() >= count) return pids;
    }
    return {};
}

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Short outputs whole, no input; a crash and a failure told with what was printed.
TEST_F(ChildTest, ShortOutputsNoInputAndHowARunEnded) {
    for (const std::size_t size : {20, 21, 40}) {
        std::string bytes;
        for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>('a' + i % 26);
        EXPECT_EQ(Text("", bytes), bytes);
    }
    EXPECT_EQ(Text("stdin"), "stdin gave 0 bytes\n");
    EXPECT_EQ(Text("silent"), "");

    const CaptureResult crash = RunCapture({Emu("crash")}, true, true);
    EXPECT_EQ(crash.text + HowItEnded(crash), "partial\ncrashed: access violation (0xC0000005)");
    const CaptureResult missing = RunCapture({Emu(""), "-verifyroms", "pong"}, true, true);
    EXPECT_EQ(missing.text + HowItEnded(missing), "romset \"pong\" not found!\nexit status 2");
}

// The program is the path given, never one found along PATH or a batch file
// run by cmd.exe; the failure is the system's, told the same way by both starts.
TEST_F(ChildTest, AProgramThatCannotStartGivesTheSystemsReason) {
    WriteFile(dir_ / "text.exe", "echo hello\r\n");
    WriteFile(dir_ / "mame.bat", "echo ran> \"%~dp0ran.txt\"\r\n");
    InstallStandIn(dir_.Path(), "mame.exe");
    const fs::path elsewhere = dir_ / "elsewhere";
    fs::create_directories(elsewhere);
    const fs::path cwd = fs::current_path();
    fs::current_path(elsewhere);
    std::wstring path(32767, L'\0');
    path.resize(::GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
    ::SetEnvironmentVariableW(L"PATH", dir_.Path().wstring().c_str());
    const std::pair<std::string, DWORD> cases[] = {
        {"mame.exe", ERROR_FILE_NOT_FOUND},
        {Utf8(dir_ / "absent.exe"), ERROR_FILE_NOT_FOUND},
        {Utf8(dir_ / "text.exe"), ERROR_BAD_EXE_FORMAT},
        {Utf8(dir_ / "mame.bat"), ERROR_BAD_EXE_FORMAT}};
    for (const auto& [program, err] : cases) {
        SCOPED_TRACE(program);
        const CaptureResult r = RunCapture({program, "-listfull"}, true, true);
        const DetachedStartResult d = StartDetached({program, "pacman"});
        EXPECT_EQ(
            std::tuple(r.started, r.startErrno, d.started, d.startErrno, r.text),
            std::tuple(false, static_cast<int>(err), false, static_cast<int>(err), std::string()));
        const std::string reason = DescribeStartError(r.startErrno);
        EXPECT_TRUE(!reason.empty() && reason.find('%') == std::string::npos &&
                    reason.back() != '\n')
            << reason;
        EXPECT_EQ(HowItEnded(r), reason);
    }
    fs::current_path(cwd);
    ::SetEnvironmentVariableW(L"PATH", path.c_str());
    EXPECT_FALSE(fs::exists(dir_ / "ran.txt")) << "the batch file ran";
    EXPECT_EQ(StandInArgs(dir_.Path(), "mame.exe"), "") << "found along PATH";
}

// Blanks, quotes, backslashes and letters beyond ASCII arrive as they were given, each argument
// whole.
TEST_F(ChildTest, PathsAndArgumentsArriveWhole) {
    const fs::path appDir = dir_.Path() / PathOf("My Games \xC3\x84\xC3\xB6 \xE5\x90\x8D");
    fs::create_directories(appDir);
    const std::string name = "mame \xC3\xA9.exe";
    const std::string program = Utf8(InstallStandIn(appDir, name));
    const CommandLine argv{program,       "pong",    "a b",
                           "say \"hi\"",  "trail\\", "C:\\Program Files\\",
                           "back\\\\\"q", "",        "\xC3\xA9t\xC3\xA9",
                           "-verifyroms"};
    CapturedText(argv, true, true, false);
    ASSERT_TRUE(StartDetached(argv).started);
    const std::string line =
        "pong\ta b\tsay \"hi\"\ttrail\\\tC:\\Program "
        "Files\\\tback\\\\\"q\t\t\xC3\xA9t\xC3\xA9\t-verifyroms\n";
    for (const auto end = Clock::now() + 10s;
         Clock::now() < end && StandInArgs(appDir, name).size() < 2 * line.size();)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(StandInArgs(appDir, name), line + line);
}

// Kill ends the child and what it started; the job leaves nothing running.
TEST_F(ChildTest, KillEndsTheChildAndItsGrandchild) {
    const std::string program = Emu("grandchild");
    ChildCapture child;
    ASSERT_TRUE(child.Start({program}));
    const std::vector<DWORD> pids = WaitForPids(PathOf(program + ".session"), 2);
    ASSERT_EQ(pids.size(), 2u) << "the grandchild did not start";
    const DWORD access = SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION;
    HANDLE grandchild = ::OpenProcess(access, FALSE, pids[1]);
    ASSERT_TRUE(grandchild != nullptr) << "the grandchild is gone before Kill";
    child.Kill();
    EXPECT_FALSE(child.Running() || child.ReadAvailable());
    // Left alone it would sleep a second, print and end with 0.
    DWORD code = 0;
    EXPECT_TRUE(::WaitForSingleObject(grandchild, 5000) == WAIT_OBJECT_0 &&
                ::GetExitCodeProcess(grandchild, &code) && code != 0)
        << "the grandchild outlived Kill()";
    ::CloseHandle(grandchild);
}

// Captures run side by side, one that hangs holds up none of the others, and the wait sleeps rather
// than spins.
TEST_F(ChildTest, SeveralCapturesAreWaitedOnAtOnce) {
    const std::string hang = Emu("hang"), first = Emu(""), third = Emu("interleave");
    WriteFile(PathOf(first + ".listfull"), "romset pong is good\n");
    ChildCapture a, b, c;
    ASSERT_TRUE(a.Start({first, "-listfull"}) && b.Start({hang}) && c.Start({third}));
    bool open[3] = {true, true, true};
    ChildCapture* all[3] = {&a, &b, &c};
    for (const auto end = Clock::now() + 10s; (open[0] || open[2]) && Clock::now() < end;) {
        const std::vector<bool> ready = WaitForOutput({&a, &b, &c}, 1000);
        for (int k = 0; k < 3; ++k)
            if (ready[k]) open[k] = all[k]->ReadAvailable();
    }
    EXPECT_FALSE(open[0] || open[2]) << "a capture did not reach its end beside a hanging one";
    EXPECT_EQ(a.Finish().text + c.Finish().text, "romset pong is good\nout1\nerr1\nout2\nerr2\n");

    // Only the hanging one is left: a wait lasts its time, asleep.
    const auto cpu = [] {
        FILETIME created, exited, kernel, user;
        ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
        const auto ticks = [](FILETIME t) {
            return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
        };
        return std::chrono::duration<double>((ticks(kernel) + ticks(user)) * 1e-7);
    };
    const auto start = Clock::now();
    const auto cpuBefore = cpu();
    EXPECT_EQ(WaitForOutput({&a, &b, nullptr}, 500), std::vector<bool>({false, false, false}));
    const auto cpuSpent = cpu() - cpuBefore;
    EXPECT_GE(Clock::now() - start, 450ms);
    // Idle it takes no measurable time; a loop around the wait takes tenths of a second.
    EXPECT_LT(cpuSpent, 50ms) << "the wait kept a processor busy";
    EXPECT_TRUE(b.Running());
    b.Kill();
    EXPECT_FALSE(b.Running());
}

// The detached start returns at once and hands the program nothing of the front end's.
TEST_F(ChildTest, DetachedStartInheritsNothing) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, &inheritable, 0));
    const std::string hang = Emu("hang");
    ASSERT_TRUE(StartDetached({hang, "pacman", "-joy"}).started);
    const std::vector<DWORD> game = WaitForPids(PathOf(hang + ".session"), 1);
    ChildCapture capture;
    const bool captured = capture.Start({hang, "pacman"});
    ::CloseHandle(writeEnd);
    const std::vector<DWORD> pids = WaitForPids(PathOf(hang + ".session"), 2);
    ASSERT_EQ(pids.size(), 2u);
    EXPECT_EQ(ReadFile(PathOf(hang + ".args")), "pacman\t-joy\npacman\n");
    DWORD avail = 0;
    const bool held = ::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &avail, nullptr);
    // Wine does not honour the list of handles a child may inherit: the capture's child gets all
    // inheritable ones.
    if (!UnderWine()) {
        EXPECT_FALSE(held) << "a started program holds the front end's pipe";
    }
    capture.Kill();
    EXPECT_TRUE(captured);
    EXPECT_FALSE(::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &avail, nullptr))
        << "the detached program holds the front end's pipe";
    ::CloseHandle(readEnd);
    HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, game[0]);
    ASSERT_TRUE(process != nullptr) << "the detached program is not running";
    ::TerminateProcess(process, 0);
    ::WaitForSingleObject(process, 5000);
    ::CloseHandle(process);
}

// What the start hook fails each attempt with, and how many attempts it saw.
DWORD g_firstStart, g_laterStarts;
int g_attempts;

DWORD FailStart(const std::wstring&, int attempt) {
    ++g_attempts;
    return attempt == 1 ? g_firstStart : g_laterStarts;
}

// Wine now and then loses a new process in its own start-up, before the program runs (the start
// fails with ERROR_INTERNAL_ERROR): that start is made again and the program runs once. A start
// the system refuses is not made again; one lost every time gives up and says why.
TEST_F(ChildTest, AStartLostBeforeItRanIsMadeAgain) {
    const util::ScopeExit unhook([] { win32::SetStartFaultHook(nullptr); });
    win32::SetStartFaultHook(&FailStart);
    const struct {
        DWORD first, later;
        int attempts;
        DWORD startError;  // 0: started
    } cases[] = {
        {ERROR_INTERNAL_ERROR, 0, 2, 0},
        {ERROR_INTERNAL_ERROR, ERROR_INTERNAL_ERROR, win32::kStartAttempts, ERROR_INTERNAL_ERROR},
        {ERROR_ACCESS_DENIED, 0, 1, ERROR_ACCESS_DENIED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("first start fails with " + std::to_string(c.first) + ", later ones with " +
                     std::to_string(c.later));
        g_firstStart = c.first;
        g_laterStarts = c.later;
        g_attempts = 0;
        const std::string emulator = Emu("", "the listing\n");
        const CaptureResult r = RunCapture({emulator, "-listfull"}, true, true);
        EXPECT_EQ(g_attempts, c.attempts);
        EXPECT_EQ(r.started, c.startError == 0);
        EXPECT_EQ(static_cast<DWORD>(r.startErrno), c.startError);
        EXPECT_EQ(r.text, c.startError == 0 ? "the listing\n" : "");
        EXPECT_EQ(
            fs::exists(PathOf(emulator + ".args")) ? ReadFile(PathOf(emulator + ".args")) : "",
            c.startError == 0 ? "-listfull\n" : "")
            << "the program did not run exactly once";
    }

    // A game's start as well: it runs once.
    g_firstStart = ERROR_INTERNAL_ERROR;
    g_laterStarts = 0;
    g_attempts = 0;
    const std::string game = Emu("");
    ASSERT_TRUE(StartDetached({game, "pacman"}).started);
    EXPECT_EQ(g_attempts, 2);
    EXPECT_EQ(WaitForPids(PathOf(game + ".session"), 1).size(), 1u);
    EXPECT_EQ(ReadFile(PathOf(game + ".args")), "pacman\n");
}

}  // namespace
}  // namespace lorvane::platform
