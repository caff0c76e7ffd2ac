#pragma once
// The window's text is UTF-8; Windows' controls count UTF-16 units. The
// conversions are the platform's; the positions are the window's own.
#include <string>
#include <string_view>

#include "platform/wide_text.h"

namespace lorvane::ui::win32 {

using platform::win32::Utf8;
using platform::win32::Wide;

// A UTF-16 position in `wide` as a byte position in its UTF-8 form, and back.
int BytesFromWidePos(std::wstring_view wide, int widePos);
int WidePosFromBytes(std::string_view utf8, int bytePos);

}  // namespace lorvane::ui::win32
