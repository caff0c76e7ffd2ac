#include <windows.h>

#include "platform/application_directory.h"
#include "platform/win32_file.h"

namespace lorvane::platform {

std::string ApplicationDirectory() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) throw win32::FailureFromError(::GetLastError(), "the program's own path");
        // A full buffer may have cut the path short.
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        buf.resize(buf.size() * 2);
    }
    return win32::DirOf(win32::Utf8(buf));
}

void EnterDirectory(const std::string& dir) {
    if (!::SetCurrentDirectoryW(win32::WidePath(dir).c_str()))
        throw win32::FailureFromError(::GetLastError(), dir);
}

}  // namespace lorvane::platform
