#pragma once
// The main window is no dialog, so Tab is passed on by hand: a control that
// sees Tab posts this message to its parent, which focuses the next control.
#include <windows.h>

namespace lorvane::win32 {

// wParam: nonzero to go backwards (Shift+Tab).
inline constexpr UINT kMsgMoveFocus = WM_APP + 2;

// Makes an edit control post kMsgMoveFocus for Tab instead of beeping.
void ForwardTabKey(HWND edit);

}  // namespace lorvane::win32
