#include "ui/win32/font.h"

#include "ui/win32/dpi.h"

namespace lorvane::ui::win32 {
namespace {

constexpr int kHundredthsOfPointPerInch = 7200;

}  // namespace

Font ArialFont(int dpi, int hundredthsOfPoint, bool bold) {
    LOGFONTW font{};
    // Negative: the height of the letters themselves, as a size in points means.
    font.lfHeight = -MulDiv(hundredthsOfPoint, dpi, kHundredthsOfPointPerInch);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, L"Arial", LF_FACESIZE);
    return Font(font);
}

Font MessageFont(int dpi) { return Font(MessageFontAt(dpi)); }

}  // namespace lorvane::ui::win32
