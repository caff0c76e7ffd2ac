#include "platform/win32_file.h"

#include <atomic>
#include <cerrno>

namespace lorvane::platform::win32 {

std::wstring WidePath(const std::string& path) {
    std::wstring wide;
    if (path.find('\0') != std::string::npos || !ToWide(path, wide))
        throw util::Failure(util::ErrNo::BadFileName, path + ": not a name this system can hold");
    return wide;
}

namespace {

std::string SystemText(DWORD code) {
    wchar_t* buf = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&buf),
        0, nullptr);
    std::wstring text(buf ? buf : L"", n);
    if (buf) ::LocalFree(buf);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    if (text.empty()) return "Windows error " + std::to_string(code);
    return Utf8(text);
}

}  // namespace

util::Failure FailureFromError(DWORD code, const std::string& what) {
    std::int32_t number = util::ErrNo::PathFileAccessError;
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:  // Linux says "not found" for a missing folder too
        case ERROR_BAD_NETPATH:
        case ERROR_INVALID_DRIVE:
            number = util::ErrNo::FileNotFound;
            break;
        case ERROR_DIRECTORY:
            number = util::ErrNo::PathNotFound;
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
        case ERROR_USER_MAPPED_FILE:
            number = util::ErrNo::PermissionDenied;
            break;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
        case ERROR_NOT_ENOUGH_QUOTA:
            number = util::ErrNo::DiskFull;
            break;
        case ERROR_CRC:
        case ERROR_IO_DEVICE:
        case ERROR_GEN_FAILURE:
        case ERROR_NOT_READY:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
            number = util::ErrNo::DeviceIoError;
            break;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            number = util::ErrNo::FileAlreadyExists;
            break;
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_NO_UNICODE_TRANSLATION:
            number = util::ErrNo::BadFileName;
            break;
        default:
            break;
    }
    std::string description = what + ": " + SystemText(code);
    // The system's text may not say who holds the file; the user needs to know.
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION)
        description += " (another program has the file open)";
    return util::Failure(number, std::move(description));
}

bool WriteAll(HANDLE h, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(h, data, chunk, &written, nullptr)) return false;
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

std::wstring TemporaryNameBeside(const std::wstring& path, const wchar_t* tag) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring dir = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    const std::wstring base = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return dir + L"." + base + L"." + tag + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(counter++);
}

std::string DirOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    // "C:\" and "\" keep their separator: they are the root.
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

}  // namespace lorvane::platform::win32
