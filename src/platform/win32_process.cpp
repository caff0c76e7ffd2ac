#include "platform/win32_process.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "platform/win32_file.h"

namespace lorvane::platform::win32 {
namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() &&
           ::CompareStringOrdinal(text.c_str() + text.size() - tail.size(),
                                  static_cast<int>(tail.size()), tail.c_str(),
                                  static_cast<int>(tail.size()), TRUE) == CSTR_EQUAL;
}

// Windows hands a batch file to cmd.exe, whose quoting rules differ.
bool IsBatchFile(const std::wstring& program) {
    std::wstring name = program;
    while (!name.empty() && (name.back() == L' ' || name.back() == L'.'))
        name.pop_back();  // Windows drops these
    return EndsWithNoCase(name, L".bat") || EndsWithNoCase(name, L".cmd");
}

std::atomic<StartFaultHook> g_startFaultHook{nullptr};

// Wine now and then loses a new process in its own start-up, before the
// program's first instruction (about one start in a few thousand on a busy
// machine): the new Unix process ends before it has told Wine's server it
// runs, and CreateProcessW fails with ERROR_INTERNAL_ERROR. Nothing of the
// program ran, so starting it again cannot run it twice.
bool LostBeforeItRan(DWORD err) { return err == ERROR_INTERNAL_ERROR; }

// Handles are inheritable only while a child is being started, and one start
// at a time: where the handle list is not honoured (Wine), a capture started
// beside another cannot pick up that one's pipe.
std::mutex& StartLock() {
    static std::mutex lock;
    return lock;
}

class AttributeList {
public:
    explicit AttributeList(std::vector<HANDLE>& handles) {
        SIZE_T size = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (!::InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        if (!::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles.data(),
                                         handles.size() * sizeof(HANDLE), nullptr, nullptr)) {
            ::DeleteProcThreadAttributeList(list);
            return;
        }
        list_ = list;
    }
    ~AttributeList() {
        if (list_) ::DeleteProcThreadAttributeList(list_);
    }
    AttributeList(const AttributeList&) = delete;
    AttributeList& operator=(const AttributeList&) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return list_; }

private:
    std::vector<char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

}  // namespace

void SetStartFaultHook(StartFaultHook hook) { g_startFaultHook.store(hook); }

std::wstring QuoteArgument(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each one is doubled
        // and the quote itself escaped.
        out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        out += c;
        backslashes = 0;
    }
    out.append(2 * backslashes, L'\\');  // before the closing quote
    out += L'"';
    return out;
}

std::wstring BuildCommandLine(const std::vector<std::wstring>& argv) {
    std::wstring line;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        if (i == 0) {
            line = L"\"" + argv[0] + L"\"";  // a path cannot hold a quote
        } else {
            line += L' ';
            line += QuoteArgument(argv[i]);
        }
    }
    return line;
}

DWORD StartChild(ChildStart& start, PROCESS_INFORMATION& process) {
    if (!start.argv || start.argv->empty()) return ERROR_INVALID_PARAMETER;
    std::vector<std::wstring> wide(start.argv->size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const std::string& arg = (*start.argv)[i];
        if (arg.find('\0') != std::string::npos) return ERROR_INVALID_PARAMETER;
        if (!ToWide(arg, wide[i])) return ERROR_NO_UNICODE_TRANSLATION;
    }
    if (IsBatchFile(wide[0])) return ERROR_BAD_EXE_FORMAT;
    const std::wstring line = BuildCommandLine(wide);

    // The same handle may stand for several streams; the list wants it once.
    std::vector<HANDLE> handles;
    for (HANDLE h : start.inherited)
        if (h && h != INVALID_HANDLE_VALUE &&
            std::find(handles.begin(), handles.end(), h) == handles.end())
            handles.push_back(h);

    STARTUPINFOEXW info{};
    info.StartupInfo = start.startup;
    info.StartupInfo.cb = sizeof info.StartupInfo;
    DWORD flags = start.flags;

    std::lock_guard<std::mutex> hold(StartLock());
    for (HANDLE h : handles) ::SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    AttributeList attributes(handles);
    if (!handles.empty() && attributes.Get()) {
        info.StartupInfo.cb = sizeof info;
        info.lpAttributeList = attributes.Get();
        flags |= EXTENDED_STARTUPINFO_PRESENT;
    }
    DWORD err = 0;
    for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
        const StartFaultHook hook = g_startFaultHook.load();
        err = hook ? hook(wide[0], attempt) : 0;
        // CreateProcessW may change the command line it is given.
        std::wstring commandLine = line;
        if (err == 0 && !::CreateProcessW(wide[0].c_str(), commandLine.data(), nullptr, nullptr,
                                          handles.empty() ? FALSE : TRUE, flags, nullptr, nullptr,
                                          &info.StartupInfo, &process))
            err = ::GetLastError();
        if (!LostBeforeItRan(err)) break;
    }
    for (HANDLE h : handles) ::SetHandleInformation(h, HANDLE_FLAG_INHERIT, 0);
    return err;
}

}  // namespace lorvane::platform::win32
