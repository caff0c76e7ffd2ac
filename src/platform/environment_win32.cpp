#include <windows.h>

#include <string_view>
#include <vector>

#include "platform/environment.h"
#include "platform/wide_text.h"

namespace lorvane::platform {
std::optional<std::string> EnvironmentVariable(const std::string& name) {
    // Names beginning "=" are the hidden per-drive directories, not variables.
    if (name.empty() || name.find_first_of(std::string("=\0", 2)) != std::string::npos)
        return std::nullopt;
    // Invalid UTF-8 names no variable; nothing is guessed.
    std::wstring wideName;
    if (!win32::ToWide(name, wideName)) return std::nullopt;
    std::vector<wchar_t> buffer(256);
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD n = GetEnvironmentVariableW(wideName.c_str(), buffer.data(),
                                                static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            // Zero is also the length of a variable set to an empty value.
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
            return std::string();
        }
        // Too small a buffer gives the size needed, counting the final NUL.
        if (n < buffer.size()) return win32::Utf8(std::wstring_view(buffer.data(), n));
        buffer.resize(n);
    }
}

}  // namespace lorvane::platform
