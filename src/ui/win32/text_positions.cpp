#include "ui/win32/text_positions.h"

#include <algorithm>

namespace lorvane::ui::win32 {

int BytesFromWidePos(std::wstring_view wide, int widePos) {
    widePos = std::clamp(widePos, 0, static_cast<int>(wide.size()));
    return static_cast<int>(Utf8(wide.substr(0, static_cast<std::size_t>(widePos))).size());
}

int WidePosFromBytes(std::string_view utf8, int bytePos) {
    bytePos = std::clamp(bytePos, 0, static_cast<int>(utf8.size()));
    return static_cast<int>(Wide(utf8.substr(0, static_cast<std::size_t>(bytePos))).size());
}

}  // namespace lorvane::ui::win32
