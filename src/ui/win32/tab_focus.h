#pragma once
// The main window is no dialog, so Tab is passed on by hand: a control that
// sees Tab posts kMsgMoveFocus to its parent, which focuses the next control.
#include <windows.h>

#include <span>

namespace lorvane::ui::win32 {

// wParam: nonzero to go backwards (Shift+Tab).
inline constexpr UINT kMsgMoveFocus = WM_APP + 2;

// Makes an edit control post kMsgMoveFocus for Tab instead of beeping.
void ForwardTabKey(HWND edit);

// Focuses the control after the focused one in the tab order (before it,
// backwards), passing over hidden ones; an edit control's text is selected
// whole, as Tab does in a dialog.
void MoveFocus(std::span<const HWND> tabOrder, bool backwards);

}  // namespace lorvane::ui::win32
