#include "ui/win32/screen.h"

#include <windows.h>

namespace lorvane::ui::win32 {

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

}  // namespace lorvane::ui::win32
