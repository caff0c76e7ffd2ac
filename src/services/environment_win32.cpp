#include "environment.h"

#include <windows.h>

#include <string_view>
#include <vector>

namespace lorvane {
namespace {

// Invalid UTF-8 has no variable of that name; nothing is guessed.
std::optional<std::wstring> ToWide(std::string_view text) {
    if (text.empty()) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string ToUtf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
    return text;
}

}  // namespace

std::optional<std::string> EnvironmentVariable(const std::string& name) {
    // Names beginning "=" are the hidden per-drive directories, not variables.
    if (name.empty() || name.find_first_of(std::string("=\0", 2)) != std::string::npos) return std::nullopt;
    const std::optional<std::wstring> wideName = ToWide(name);
    if (!wideName) return std::nullopt;
    std::vector<wchar_t> buffer(256);
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableW(wideName->c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            // Zero is also the length of a variable set to an empty value.
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        // Too small a buffer gives the size needed, counting the final NUL.
        if (n < buffer.size()) return ToUtf8(std::wstring_view(buffer.data(), n));
        buffer.resize(n);
    }
}

}  // namespace lorvane
