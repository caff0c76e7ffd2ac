#pragma once
// The screen's resolution, for the layout in twips and the dialogs' sizes.

namespace lorvane::ui::win32 {

// Dots per inch of the screen (96 when it cannot be read).
int ScreenDpi();

}  // namespace lorvane::ui::win32
