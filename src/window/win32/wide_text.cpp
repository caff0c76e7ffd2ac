#include "wide_text.h"

#include <windows.h>

#include <algorithm>

namespace lorvane::win32 {

std::wstring Wide(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

int BytesFromWidePos(std::wstring_view wide, int widePos) {
    widePos = std::clamp(widePos, 0, static_cast<int>(wide.size()));
    return static_cast<int>(Utf8(wide.substr(0, static_cast<std::size_t>(widePos))).size());
}

int WidePosFromBytes(std::string_view utf8, int bytePos) {
    bytePos = std::clamp(bytePos, 0, static_cast<int>(utf8.size()));
    return static_cast<int>(Wide(utf8.substr(0, static_cast<std::size_t>(bytePos))).size());
}

}  // namespace lorvane::win32
