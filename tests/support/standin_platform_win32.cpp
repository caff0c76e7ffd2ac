// The stand-in as a Windows console program: its arguments as the C runtime
// split the command line, its output written to the standard handles as bytes
// (no text-mode line ends added).
#include <windows.h>

#include "support/standin_platform.h"

namespace lorvane::standin {
namespace {

// The grandchild mode's second process: the stand-in run again with this.
constexpr const wchar_t* kLateWriterArg = L"--standin-late-writer";
// Tries at opening a log another stand-in is writing: some ten seconds.
constexpr int kAppendAttempts = 10000;

std::wstring Wide(const std::string& s) {
    std::wstring w(s.size(), L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(),
                                      static_cast<int>(w.size()));
    w.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return w;
}

std::string Utf8(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

void WriteAll(HANDLE h, const std::string& s) {
    std::size_t done = 0;
    while (done < s.size()) {
        DWORD n = 0;
        if (!WriteFile(h, s.data() + done, static_cast<DWORD>(s.size() - done), &n, nullptr))
            return;
        done += n;
    }
}

}  // namespace

bool ReadText(const std::string& path, std::string& out) {
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
    CloseHandle(h);
    return true;
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// One writer at a time: under Wine, appends from several processes at once are
// not atomic as Windows' are, and lines of stand-ins running side by side were
// lost (about 2 in 100 of 18,000 lines from 6 processes). Others may read meanwhile.
void AppendLine(const std::string& path, const std::string& line) {
    const std::wstring wide = Wide(path);
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kAppendAttempts; ++attempt) {
        h = CreateFileW(wide.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
        Sleep(1);
    }
    if (h == INVALID_HANDLE_VALUE) return;
    WriteAll(h, line + "\n");
    CloseHandle(h);
}

void WriteOut(const std::string& text) { WriteAll(GetStdHandle(STD_OUTPUT_HANDLE), text); }
void WriteErr(const std::string& text) { WriteAll(GetStdHandle(STD_ERROR_HANDLE), text); }

std::size_t ReadAllInput() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE) return 0;
    std::size_t total = 0;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(in, buf, sizeof buf, &n, nullptr) && n > 0) total += n;
    return total;
}

void SleepMs(long ms) { Sleep(static_cast<DWORD>(ms)); }

std::string SessionLine() { return std::to_string(GetCurrentProcessId()); }

// The same program run again, by the path this one was run by, so that it
// finds the same files.
bool StartLateWriter(const std::string& self) {
    wchar_t program[MAX_PATH * 4];
    const DWORD len = GetModuleFileNameW(nullptr, program, sizeof program / sizeof program[0]);
    if (len == 0 || len >= sizeof program / sizeof program[0]) return false;
    std::wstring line = L"\"" + Wide(self) + L"\" " + kLateWriterArg;
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    SetHandleInformation(out, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

// The exit code of a crash, so that the capture tells it as one.
void EndAbruptly() {
    TerminateProcess(GetCurrentProcess(), 0xC0000005u);
    ExitProcess(0xC0000005u);
}

std::string DirOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace lorvane::standin

int wmain(int argc, wchar_t** argv) {
    using namespace lorvane::standin;
    if (argc < 1 || argv[0] == nullptr) return 1;
    const std::string self = Utf8(argv[0]);
    if (argc == 2 && std::wstring(argv[1]) == kLateWriterArg) {
        // Its own line in .session, so that a test can tell whether it ran on.
        AppendLine(self + ".session", SessionLine());
        SleepMs(1000);
        WriteOut("late\n");
        return 0;
    }
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
    return Run(self, args);
}
