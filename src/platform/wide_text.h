#pragma once
// The program's text is UTF-8; Windows' wide (...W) functions take UTF-16.
// Every conversion on Windows goes through here, at the boundary.
#include <string>
#include <string_view>

namespace lorvane::platform::win32 {

// False for text that is not UTF-8 (no file can bear such a name).
bool ToWide(std::string_view utf8, std::wstring& wide);
// Text that is not UTF-8 gets the replacement character where it fails.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace lorvane::platform::win32
