#include <windows.h>

#include "platform/file_exists.h"
#include "platform/win32_file.h"

namespace lorvane::platform {
namespace {

constexpr DWORD kNotOrdinary =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// One search with the path as the pattern; the first ordinary entry it yields
// answers. err: the system's code for a search that could not be made, 0 when
// the answer is simply "no".
bool Exists(const std::string& path, DWORD& err) {
    err = 0;
    if (path.empty()) return false;
    std::wstring pattern;
    if (path.find('\0') != std::string::npos || !win32::ToWide(path, pattern)) {
        err = ERROR_INVALID_NAME;
        return false;
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD e = ::GetLastError();
        if (e != ERROR_FILE_NOT_FOUND && e != ERROR_PATH_NOT_FOUND && e != ERROR_NO_MORE_FILES)
            err = e;
        return false;
    }
    bool ordinary = false;
    do {
        ordinary = (found.dwFileAttributes & kNotOrdinary) == 0;
    } while (!ordinary && ::FindNextFileW(search, &found));
    ::FindClose(search);
    return ordinary;
}

}  // namespace

bool FileExists(const std::string& path) {
    DWORD err = 0;
    return Exists(path, err);
}

bool FileExists(const std::string& path, util::PendingError& pending) {
    pending.Clear();
    DWORD err = 0;
    const bool found = Exists(path, err);
    if (err != 0) pending.Set(win32::FailureFromError(err, path));
    return found;
}

}  // namespace lorvane::platform
