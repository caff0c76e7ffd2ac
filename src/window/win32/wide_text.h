#pragma once
// The program's text is UTF-8; Windows' wide functions take UTF-16. Converted
// here, at the calls, and nowhere else in the window.
#include <string>
#include <string_view>

namespace lorvane::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// A UTF-16 position in `wide` as a byte position in its UTF-8 form, and back.
int BytesFromWidePos(std::wstring_view wide, int widePos);
int WidePosFromBytes(std::string_view utf8, int bytePos);

}  // namespace lorvane::win32
