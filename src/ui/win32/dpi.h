#pragma once
// Dots per inch a window is shown at. The program is per-monitor DPI aware:
// each window takes its monitor's DPI (Windows 8.1 and later) and is laid out
// again when it is moved to a monitor with another one. The calls newer than
// Windows 7 are looked up when the program runs, so that it still starts there
// (at the system's DPI).
#include <windows.h>

namespace lorvane::ui::win32 {

inline constexpr int kStandardDpi = 96;

// The system's DPI: the primary monitor's when the user signed in.
int SystemDpi();
// The DPI of the monitor the window is on (the system's where monitors have
// none of their own).
int WindowDpi(HWND window);
// The DPI of the monitor a new top-level window opens on: the primary one.
int PrimaryMonitorDpi();

// The window rectangle around `client` for this style at this DPI (the frame,
// caption and menu bar are as large as Windows draws them there).
RECT OuterRectForDpi(RECT client, DWORD style, bool hasMenu, DWORD exStyle, int dpi);

// The system's message font (what text boxes, buttons and message boxes use)
// at this DPI.
LOGFONTW MessageFontAt(int dpi);

// 96-DPI pixels at this DPI.
inline int Scaled(int pixelsAt96, int dpi) { return MulDiv(pixelsAt96, dpi, kStandardDpi); }

}  // namespace lorvane::ui::win32
