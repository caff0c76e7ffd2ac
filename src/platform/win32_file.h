#pragma once
// Small pieces shared by the Windows side of the platform: paths as the wide
// strings of the ...W functions, a handle that closes itself, Windows error
// codes as failures, the directory of a path, and the fault-injection seams of
// the file writers.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/wide_text.h"
#include "util/failure.h"

namespace lorvane::platform::win32 {

// Throws Failure 52 (bad file name) for text that is not UTF-8.
std::wstring WidePath(const std::string& path);

// The failure for a failed call: the number as on Linux for the same kind of
// fault, the description the path and the system's own text.
util::Failure FailureFromError(DWORD code, const std::string& what);

class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    bool Close() {
        const bool ok = !Valid() || ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

// The part of a file's attributes that SetFileAttributesW takes (never 0).
inline DWORD SettableAttributes(DWORD attrs) {
    constexpr DWORD kSettable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_OFFLINE |
                                FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_TEMPORARY;
    return (attrs & kSettable) != 0 ? (attrs & kSettable) : FILE_ATTRIBUTE_NORMAL;
}

// Writes all of data; false with the system's error left for GetLastError.
bool WriteAll(HANDLE h, const char* data, std::size_t size);

// A fresh name beside path for a hidden temporary file: dir\.name.<tag>-<unique>.
std::wstring TemporaryNameBeside(const std::wstring& path, const wchar_t* tag);

// Windows takes both separators.
std::string DirOf(const std::string& path);

}  // namespace lorvane::platform::win32
