#include <windows.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdio>

#include "platform/command_capture.h"
#include "platform/win32_file.h"
#include "platform/win32_process.h"
#include "util/failure.h"

namespace lorvane::platform {
namespace {

constexpr DWORD kBlock = 64 * 1024;
// Reads per ReadAvailable call, so that one busy child cannot starve the others
// a caller waits on beside it.
constexpr int kMaxBlocksPerCall = 16;
constexpr DWORD kCapturePipeSize = 1 << 20;
constexpr DWORD kDrainedPauseMs = 2;
// What a child ended by Kill() reports: Windows has no signal to tell it by.
constexpr UINT kKilledExitCode = 1;

void CloseIf(HANDLE& h) {
    if (h && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    h = nullptr;
}

// An exception or a failed start of the process, as opposed to an exit code
// the program chose: the status codes of error severity, and a breakpoint.
bool IsCrashCode(DWORD code) { return (code & 0xC0000000u) == 0xC0000000u || code == 0x80000003u; }

const char* CrashWords(DWORD code) {
    switch (code) {
        case 0xC0000005u:
            return "crashed: access violation";
        case 0xC00000FDu:
            return "crashed: stack overflow";
        case 0xC0000409u:
            return "crashed: stack buffer overrun";
        case 0xC0000374u:
            return "crashed: heap corruption";
        case 0xC0000094u:
            return "crashed: integer division by zero";
        case 0xC000001Du:
            return "crashed: illegal instruction";
        case 0xC0000096u:
            return "crashed: privileged instruction";
        case 0x80000003u:
            return "crashed: breakpoint";
        case 0xC000013Au:
            return "interrupted by Ctrl+C";
        case 0xC0000135u:
            return "could not run: a DLL it needs was not found";
        case 0xC0000139u:
            return "could not run: a DLL it needs lacks a function";
        case 0xC0000142u:
            return "could not run: a DLL failed to initialize";
        default:
            return "ended abnormally";
    }
}

void RecordExit(CaptureResult& r, DWORD code) {
    if (IsCrashCode(code)) {
        r.signaled = true;
        r.termSignal = static_cast<int>(code);
    } else {
        r.exited = true;
        r.exitStatus = static_cast<int>(code);
    }
}

// A name of its own for each capture's pipe: only one instance, made here, so
// no other program can have made it first and hold the other end.
std::wstring NewPipeName() {
    static std::atomic<unsigned long> count{0};
    wchar_t name[96];
    std::swprintf(name, sizeof name / sizeof name[0], L"\\\\.\\pipe\\lorvane-capture-%lu-%lu",
                  ::GetCurrentProcessId(), count.fetch_add(1) + 1);
    return name;
}

std::string FromOemCodePage(const std::string& text) {
    if (text.empty()) return text;
    const int n =
        ::MultiByteToWideChar(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_OEMCP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return win32::Utf8(wide);
}

}  // namespace

// Anonymous pipes cannot be read with overlapped reads, so the capture reads
// a named pipe of its own: one read in flight at a time, its event set when
// data (or the pipe's end) has come. The event is what WaitForOutput waits on.
struct ChildCapture::Native {
    HANDLE process = nullptr;
    HANDLE job = nullptr;   // the child and everything it starts
    HANDLE pipe = nullptr;  // the read end
    HANDLE event = nullptr;
    OVERLAPPED overlapped{};
    bool pending = false;
    std::string buffer = std::string(kBlock, '\0');

    ~Native() {
        ClosePipe();
        CloseIf(event);
        CloseIf(process);
        CloseIf(job);
    }
    bool PipeOpen() const { return pipe != nullptr; }
    // The read in flight must have ended before its buffer may go.
    void ClosePipe() {
        if (pending) {
            DWORD n = 0;
            ::CancelIoEx(pipe, &overlapped);
            ::GetOverlappedResult(pipe, &overlapped, &n, TRUE);
            pending = false;
        }
        CloseIf(pipe);
    }
};

ChildCapture::NativePtr ChildCapture::MakeNative() { return NativePtr(new Native); }

void ChildCapture::NativeDeleter::operator()(Native* native) const noexcept { delete native; }

void ChildCapture::Reset() noexcept {
    Kill();
    native_.reset();
}

bool ChildCapture::Running() const { return native_ && native_->process; }

namespace {

// The capture's own named pipe: `pipe` is the read end (overlapped), the
// return value the write end for the child, or INVALID_HANDLE_VALUE with the
// system's error left for GetLastError. Neither end is inheritable:
// StartChild lets the child alone inherit the write end.
HANDLE CreateCapturePipe(HANDLE& pipe) {
    const std::wstring name = NewPipeName();
    pipe = ::CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
        kCapturePipeSize, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        pipe = nullptr;
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

// Closing the job's last handle ends whatever is still in it, so nothing
// outlives a front end that is gone. Null where no job can be made.
HANDLE CreateKillOnCloseJob() {
    HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
    if (job) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return job;
}

}  // namespace

bool ChildCapture::Start(const CommandLine& argv, bool captureStdout, bool captureStderr) {
    if (!captureStdout && !captureStderr)
        throw util::Failure(util::ErrNo::InvalidArgument, "Invalid procedure call or argument");
    Reset();
    result_ = CaptureResult{};
    if (argv.empty()) {
        result_.startErrno = ERROR_INVALID_PARAMETER;
        return false;
    }
    NativePtr native = MakeNative();
    auto fail = [this](DWORD err) {
        result_.startErrno = static_cast<int>(err);
        return false;
    };

    // Set at first: the first ReadAvailable starts the first read.
    native->event = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    if (!native->event) return fail(::GetLastError());
    HANDLE writeEnd = CreateCapturePipe(native->pipe);
    if (writeEnd == INVALID_HANDLE_VALUE) return fail(::GetLastError());
    HANDLE nul =
        ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (nul == INVALID_HANDLE_VALUE) {
        const DWORD err = ::GetLastError();
        ::CloseHandle(writeEnd);
        return fail(err);
    }
    native->job = CreateKillOnCloseJob();

    win32::ChildStart start;
    start.argv = &argv;
    // Suspended until it is in the job, so that nothing it starts escapes it.
    start.flags = CREATE_NO_WINDOW | CREATE_SUSPENDED;
    start.startup.dwFlags = STARTF_USESTDHANDLES;
    start.startup.hStdInput = nul;
    start.startup.hStdOutput = captureStdout ? writeEnd : nul;
    start.startup.hStdError = captureStderr ? writeEnd : nul;
    start.inherited = {nul, writeEnd};
    PROCESS_INFORMATION pi{};
    const DWORD err = win32::StartChild(start, pi);
    // From here on only the child (and what it starts) holds the write side.
    ::CloseHandle(writeEnd);
    ::CloseHandle(nul);
    if (err != 0) return fail(err);

    // Where jobs cannot nest (before Windows 8) the child runs without one,
    // and Kill() reaches only the child itself.
    if (!native->job || !::AssignProcessToJobObject(native->job, pi.hProcess)) CloseIf(native->job);
    ::ResumeThread(pi.hThread);
    ::CloseHandle(pi.hThread);
    native->process = pi.hProcess;
    native_ = std::move(native);
    result_.started = true;
    return true;
}

bool ChildCapture::ReadAvailable() {
    if (!native_ || !native_->PipeOpen()) return false;
    Native& n = *native_;
    std::string& text = result_.text;
    for (int i = 0; i < kMaxBlocksPerCall; ++i) {
        if (!n.pending) {
            n.overlapped = OVERLAPPED{};
            n.overlapped.hEvent = n.event;
            // Completed at once or not, the result is taken below.
            if (!::ReadFile(n.pipe, n.buffer.data(), kBlock, nullptr, &n.overlapped) &&
                ::GetLastError() != ERROR_IO_PENDING) {
                n.ClosePipe();  // ERROR_BROKEN_PIPE: every writer has closed it
                return false;
            }
            n.pending = true;
        }
        DWORD got = 0;
        if (!::GetOverlappedResult(n.pipe, &n.overlapped, &got, FALSE)) {
            if (::GetLastError() == ERROR_IO_INCOMPLETE) return true;
            n.pending = false;
            n.ClosePipe();
            return false;
        }
        n.pending = false;
        text.append(n.buffer.data(), got);
    }
    return true;
}

const CaptureResult& ChildCapture::Finish() {
    if (!native_) return result_;
    native_->ClosePipe();
    if (native_->process) {
        ::WaitForSingleObject(native_->process, INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(native_->process, &code)) RecordExit(result_, code);
        CloseIf(native_->process);
    }
    // Ends what the child left running after it let go of the pipe.
    CloseIf(native_->job);
    return result_;
}

void ChildCapture::Kill() {
    if (!native_) return;
    Native& n = *native_;
    if (n.process) {
        if (!n.job || !::TerminateJobObject(n.job, kKilledExitCode))
            ::TerminateProcess(n.process, kKilledExitCode);
        ::WaitForSingleObject(n.process, INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(n.process, &code)) RecordExit(result_, code);
        CloseIf(n.process);
    }
    CloseIf(n.job);
    n.ClosePipe();
}

std::string DescribeStartError(int startError) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(startError), 0, reinterpret_cast<wchar_t*>(&buffer), 0,
        nullptr);
    std::string text = length && buffer ? win32::Utf8(std::wstring(buffer, length)) : "";
    if (buffer) ::LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    // Some texts name the file as an insert the caller did not fill.
    if (const std::size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, at == 0 ? "The program" : "the program");
    if (text.empty()) text = "system error " + std::to_string(static_cast<unsigned>(startError));
    return text;
}

std::string HowItEnded(const CaptureResult& r) {
    if (!r.started) return DescribeStartError(r.startErrno);
    if (r.signaled) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX",
                      static_cast<unsigned long>(static_cast<DWORD>(r.termSignal)));
        return std::string(CrashWords(static_cast<DWORD>(r.termSignal))) + " (" + code + ")";
    }
    if (!r.exited) return "its end could not be learned";
    return "exit status " + std::to_string(static_cast<DWORD>(r.exitStatus));
}

CaptureResult RunCapture(const CommandLine& argv, bool captureStdout, bool captureStderr) {
    ChildCapture child;
    if (!child.Start(argv, captureStdout, captureStderr)) return child.Result();
    // The emulator prints its listing in hundreds of thousands of small writes:
    // a short pause once the pipe is drained lets them gather into blocks.
    for (;;) {
        WaitForOutput({&child}, -1);
        if (!child.ReadAvailable()) break;
        ::Sleep(kDrainedPauseMs);
    }
    child.Finish();
    std::string text = child.TakeText();
    CaptureResult result = child.Result();
    result.text = std::move(text);
    return result;
}

std::vector<bool> WaitForOutput(const std::vector<const ChildCapture*>& captures, int timeoutMs) {
    std::vector<HANDLE> events;
    for (const ChildCapture* c : captures)
        if (c && c->native_ && c->native_->PipeOpen()) events.push_back(c->native_->event);
    const DWORD total = timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs);
    if (events.size() <= MAXIMUM_WAIT_OBJECTS) {
        if (!events.empty())
            ::WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE,
                                     total);
    } else {
        // More than one wait can take (a machine with more than 63
        // processors): the groups are looked at in turn, in short slices.
        const ULONGLONG start = ::GetTickCount64();
        for (;;) {
            bool any = false;
            for (std::size_t at = 0; at < events.size() && !any; at += MAXIMUM_WAIT_OBJECTS) {
                const DWORD count = static_cast<DWORD>(
                    std::min<std::size_t>(events.size() - at, MAXIMUM_WAIT_OBJECTS));
                any = ::WaitForMultipleObjects(count, events.data() + at, FALSE, 0) <
                      WAIT_OBJECT_0 + count;
            }
            const ULONGLONG spent = ::GetTickCount64() - start;
            if (any || (total != INFINITE && spent >= total)) break;
            const DWORD slice =
                total == INFINITE ? 10 : static_cast<DWORD>(std::min<ULONGLONG>(10, total - spent));
            ::WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS, events.data(), FALSE, slice);
        }
    }
    std::vector<bool> ready(captures.size(), false);
    for (std::size_t k = 0; k < captures.size(); ++k) {
        const ChildCapture* c = captures[k];
        ready[k] = c && c->native_ && c->native_->PipeOpen() &&
                   ::WaitForSingleObject(c->native_->event, 0) == WAIT_OBJECT_0;
    }
    return ready;
}

int ProcessorCount() {
    DWORD_PTR process = 0, system = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) && process != 0)
        return std::popcount(static_cast<unsigned long long>(process));
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

std::string CapturedText(const CommandLine& argv, bool captureStdout, bool captureStderr,
                         bool oemConvert) {
    std::string text = RunCapture(argv, captureStdout, captureStderr).text;
    // The whole text at once, so that no character is cut between two reads.
    return oemConvert ? FromOemCodePage(text) : text;
}

}  // namespace lorvane::platform
