#include <windows.h>

#include <cerrno>

#include "platform/fault_hooks.h"
#include "platform/file_io.h"
#include "platform/win32_file.h"

namespace lorvane::platform {
namespace {

bool IsDirectory(const std::wstring& path) {
    const DWORD attrs = ::GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    if (const int injected = fault::OnRead(path)) throw util::FailureFromErrno(injected, path);
    const std::wstring wide = win32::WidePath(path);
    // Others may go on reading, writing or renaming it, as on Linux.
    win32::Handle h(::CreateFileW(wide.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.Valid()) {
        const DWORD e = ::GetLastError();
        if (IsDirectory(wide))
            throw util::Failure(util::ErrNo::PathFileAccessError, path + ": is a directory");
        throw win32::FailureFromError(e, path);
    }
    std::string content;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(h.Get(), &size) && size.QuadPart > 0)
        content.reserve(static_cast<std::size_t>(size.QuadPart));
    char buf[1 << 16];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(h.Get(), buf, sizeof buf, &n, nullptr))
            throw win32::FailureFromError(::GetLastError(), path);
        if (n == 0) break;
        content.append(buf, n);
    }
    return content;
}

void WriteFileAtomically(const std::string& path, const std::string& content) {
    const std::wstring wide = win32::WidePath(path);
    const DWORD oldAttrs = ::GetFileAttributesW(wide.c_str());
    if (oldAttrs != INVALID_FILE_ATTRIBUTES && (oldAttrs & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw util::Failure(util::ErrNo::PathFileAccessError, path + ": is a directory");

    // Hidden, so that no existence test ever takes it for the real file.
    const std::wstring tmp = win32::TemporaryNameBeside(wide, L"tmp");
    if (const int err = fault::OnWrite("open", path)) throw util::FailureFromErrno(err, path);
    win32::Handle h(::CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN, nullptr));
    if (!h.Valid()) throw win32::FailureFromError(::GetLastError(), path);

    auto fail = [&](const util::Failure& f) {
        h.Close();
        ::SetFileAttributesW(tmp.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(tmp.c_str());
        throw f;
    };
    auto failSystem = [&]() { fail(win32::FailureFromError(::GetLastError(), path)); };

    if (const int err = fault::OnWrite("write", path)) fail(util::FailureFromErrno(err, path));
    if (!win32::WriteAll(h.Get(), content.data(), content.size())) failSystem();
    if (const int err = fault::OnWrite("sync", path)) fail(util::FailureFromErrno(err, path));
    if (!::FlushFileBuffers(h.Get())) failSystem();
    if (!h.Close()) failSystem();
    if (const int err = fault::OnWrite("rename", path)) fail(util::FailureFromErrno(err, path));
    // A read-only file is not replaced, as Windows refuses to.
    if (!::MoveFileExW(tmp.c_str(), wide.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failSystem();
    // The file came in hidden; it takes the attributes of the file it replaced,
    // or the usual ones when new.
    const DWORD attrs = oldAttrs != INVALID_FILE_ATTRIBUTES ? oldAttrs : FILE_ATTRIBUTE_ARCHIVE;
    if (!::SetFileAttributesW(wide.c_str(), win32::SettableAttributes(attrs)))
        throw win32::FailureFromError(::GetLastError(), path + " (written, but left hidden)");
}

}  // namespace lorvane::platform
