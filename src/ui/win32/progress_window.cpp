#include "ui/win32/progress_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "ui/win32/dpi.h"
#include "ui/win32/text_positions.h"
#include "ui/win32/window_class.h"

namespace lorvane::ui::win32 {
namespace {

constexpr const wchar_t* kProgressClass = L"LorvaneProgress";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;

// Where everything stands, in pixels at 96 DPI: the client area, then the
// label (two lines of text), the bar and the button.
constexpr RECT kClientAt96{0, 0, 360, 120};
constexpr RECT kLabelAt96{12, 8, 348, 42};
constexpr RECT kBarAt96{12, 48, 348, 66};
constexpr RECT kCancelAt96{268, 80, 348, 106};

RECT ScaledRect(const RECT& at96, int dpi) {
    return RECT{Scaled(at96.left, dpi), Scaled(at96.top, dpi), Scaled(at96.right, dpi),
                Scaled(at96.bottom, dpi)};
}

HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void Place(HWND control, const RECT& r) {
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
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
    // Shown over its owner, on the owner's monitor and at its DPI.
    dpi_ = owner ? WindowDpi(owner) : PrimaryMonitorDpi();
    const RECT frame =
        OuterRectForDpi(ScaledRect(kClientAt96, dpi_), kStyle, false, kExStyle, dpi_);
    RECT ownerRect{0, 0, 0, 0};
    if (owner) GetWindowRect(owner, &ownerRect);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    const int x = ownerRect.left + ((ownerRect.right - ownerRect.left) - w) / 2;
    const int y = ownerRect.top + ((ownerRect.bottom - ownerRect.top) - h) / 2;
    hwnd_ = CreateWindowExW(kExStyle, kProgressClass, Wide(title).c_str(), kStyle, x, y, w, h,
                            owner, nullptr, instance, this);
    if (!hwnd_) return;
    label_ = Child(hwnd_, L"STATIC", Wide(label).c_str(), SS_LEFT | SS_NOPREFIX, 1);
    bar_ = Child(hwnd_, PROGRESS_CLASSW, L"", 0, 2);
    SendMessageW(bar_, PBM_SETRANGE32, 0, std::max(total, 0));
    cancel_ = Child(hwnd_, L"BUTTON", L"Cancel", WS_TABSTOP | BS_DEFPUSHBUTTON, IDCANCEL);
    PlaceControls();
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(hwnd_, SW_SHOW);
    SetFocus(cancel_);
    UpdateWindow(hwnd_);
}

void ProgressWindow::PlaceControls() {
    // The controls take the new font before the old one goes.
    Font font = MessageFont(dpi_);
    for (HWND control : {label_, bar_, cancel_}) font.SetOn(control, true);
    font_ = std::move(font);
    Place(label_, ScaledRect(kLabelAt96, dpi_));
    Place(bar_, ScaledRect(kBarAt96, dpi_));
    Place(cancel_, ScaledRect(kCancelAt96, dpi_));
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
        case WM_DPICHANGED:
            if (self) {
                const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
                SetWindowPos(hwnd, nullptr, suggested.left, suggested.top,
                             suggested.right - suggested.left, suggested.bottom - suggested.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
                self->dpi_ = LOWORD(wp);
                self->PlaceControls();
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
