#include "tab_focus.h"

#include <commctrl.h>

namespace lorvane::win32 {
namespace {

LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_KEYDOWN && wp == VK_TAB) {
        PostMessageW(GetParent(hwnd), kMsgMoveFocus, GetKeyState(VK_SHIFT) < 0, 0);
        return 0;
    }
    if (msg == WM_CHAR && wp == L'\t') return 0;
    return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void ForwardTabKey(HWND edit) { SetWindowSubclass(edit, &TabProc, 2, 0); }

}  // namespace lorvane::win32
