#include "ui/win32/tab_focus.h"

#include <commctrl.h>

#include <cwchar>

namespace lorvane::ui::win32 {
namespace {

constexpr UINT_PTR kTabSubclassId = 2;

LRESULT CALLBACK TabProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_KEYDOWN && wp == VK_TAB) {
        PostMessageW(GetParent(hwnd), kMsgMoveFocus, GetKeyState(VK_SHIFT) < 0, 0);
        return 0;
    }
    if (msg == WM_CHAR && wp == L'\t') return 0;
    return DefSubclassProc(hwnd, msg, wp, lp);
}

bool IsEditControl(HWND hwnd) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, static_cast<int>(std::size(cls)));
    return _wcsicmp(cls, L"Edit") == 0;
}

}  // namespace

void ForwardTabKey(HWND edit) { SetWindowSubclass(edit, &TabProc, kTabSubclassId, 0); }

void MoveFocus(std::span<const HWND> tabOrder, bool backwards) {
    const std::size_t count = tabOrder.size();
    if (count == 0) return;
    const HWND focus = GetFocus();
    std::size_t at = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (tabOrder[i] == focus) at = i;
    for (std::size_t step = 1; step <= count; ++step) {
        const HWND next = tabOrder[(at + (backwards ? count - step : step)) % count];
        if (!IsWindowVisible(next)) continue;
        SetFocus(next);
        if (IsEditControl(next)) SendMessageW(next, EM_SETSEL, 0, -1);
        return;
    }
}

}  // namespace lorvane::ui::win32
