#include <windows.h>

#include "platform/file_identity.h"
#include "platform/win32_file.h"

namespace lorvane::platform {

FileIdentity IdentifyFile(const std::string& path) {
    FileIdentity id;
    std::wstring wide;
    if (path.find('\0') != std::string::npos || !win32::ToWide(path, wide)) {
        id.failure = win32::FailureFromError(ERROR_INVALID_NAME, path);
        return id;
    }
    // Reading the attributes needs no access to the content, and a file that
    // another program holds open is still seen.
    win32::Handle h(::CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.Valid()) {
        const DWORD e = ::GetLastError();
        if (e == ERROR_FILE_NOT_FOUND) {
            id.kind = FileIdentity::Kind::Absent;
        } else {
            id.failure = win32::FailureFromError(e, path);
        }
        return id;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(h.Get(), &info)) {
        id.failure = win32::FailureFromError(::GetLastError(), path);
        return id;
    }
    id.kind = FileIdentity::Kind::Present;
    id.device = info.dwVolumeSerialNumber;
    id.inode = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    id.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    // 100-nanosecond ticks since 1601.
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
        info.ftLastWriteTime.dwLowDateTime;
    id.mtimeSeconds = static_cast<std::int64_t>(ticks / 10000000);
    id.mtimeNanoseconds = static_cast<std::int64_t>(ticks % 10000000) * 100;
    return id;
}

}  // namespace lorvane::platform
