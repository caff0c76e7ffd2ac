#include "ui/win32/progress_window.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/win32/screen.h"
#include "ui/win32/text_positions.h"
#include "ui/win32/window_class.h"

namespace lorvane::ui::win32 {
namespace {

constexpr const wchar_t* kProgressClass = L"LorvaneProgress";

HFONT DialogFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
           int h, int id) {
    HWND child =
        CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    if (child) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    return child;
}

}  // namespace

void ProgressWindow::Open(HWND owner, const std::string& title, int total,
                          const std::string& label) {
    Close();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterWindowClassOnce(kProgressClass, &ProgressWindow::WindowProc,
                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    cancelled_ = false;
    owner_ = owner;
    const int dpi = ScreenDpi();
    auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
    RECT frame{0, 0, px(360), px(120)};
    AdjustWindowRectEx(&frame, WS_CAPTION | WS_POPUP, FALSE, WS_EX_DLGMODALFRAME);
    RECT ownerRect{0, 0, 0, 0};
    if (owner) GetWindowRect(owner, &ownerRect);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const int x = ownerRect.left + ((ownerRect.right - ownerRect.left) - w) / 2;
    const int y = ownerRect.top + ((ownerRect.bottom - ownerRect.top) - h) / 2;
    hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kProgressClass, Wide(title).c_str(),
                            WS_POPUP | WS_CAPTION, x, y, w, h, owner, nullptr, instance, this);
    if (!hwnd_) return;
    label_ = Child(hwnd_, L"STATIC", Wide(label).c_str(), SS_LEFT | SS_NOPREFIX, px(12), px(8),
                   px(336), px(34), 1);
    bar_ = Child(hwnd_, PROGRESS_CLASSW, L"", 0, px(12), px(48), px(336), px(18), 2);
    SendMessageW(bar_, PBM_SETRANGE32, 0, std::max(total, 0));
    cancel_ = Child(hwnd_, L"BUTTON", L"Cancel", WS_TABSTOP | BS_DEFPUSHBUTTON, px(268), px(80),
                    px(80), px(26), IDCANCEL);
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(cancel_);
    UpdateWindow(hwnd_);
}

void ProgressWindow::Update(int done, int total, const std::string& label) {
    if (!hwnd_) return;
    SendMessageW(bar_, PBM_SETRANGE32, 0, std::max(total, 0));
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(std::clamp(done, 0, std::max(total, 0))), 0);
    SetWindowTextW(label_, Wide(label).c_str());
}

void ProgressWindow::Close() {
    if (!hwnd_) return;
    // The owner first, so that the focus returns to it and not elsewhere.
    if (owner_) EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd_);
    hwnd_ = label_ = bar_ = cancel_ = nullptr;
    if (owner_) SetActiveWindow(owner_);
    owner_ = nullptr;
}

LRESULT CALLBACK ProgressWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrW(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    }
    auto* self = reinterpret_cast<ProgressWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == IDCANCEL && self) {
                self->cancelled_ = true;
                EnableWindow(self->cancel_, FALSE);
            }
            return 0;
        case WM_CLOSE:
            // The frame's close box cancels as the button does; the task closes the window.
            if (self) self->cancelled_ = true;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace lorvane::ui::win32
