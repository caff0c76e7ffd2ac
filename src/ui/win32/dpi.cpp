#include "ui/win32/dpi.h"

namespace lorvane::ui::win32 {
namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetDpiForSystemCall = UINT(WINAPI*)();
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiCall = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
// shcore.dll, Windows 8.1: GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y).
using GetDpiForMonitorCall = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;

// A function of a system DLL, or null where this Windows lacks it.
template <typename Call>
Call Lookup(HMODULE module, const char* name) {
    if (!module) return nullptr;
    // Through void(*)(), the one function pointer type every other converts to quietly.
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

HMODULE User32() {
    static const HMODULE module = GetModuleHandleW(L"user32.dll");
    return module;
}

HMODULE ShCore() {
    static const HMODULE module =
        LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module;
}

int MonitorDpi(HMONITOR monitor) {
    static const auto call = Lookup<GetDpiForMonitorCall>(ShCore(), "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (monitor && call && SUCCEEDED(call(monitor, kEffectiveDpi, &x, &y)) && x > 0)
        return static_cast<int>(x);
    return SystemDpi();
}

}  // namespace

int SystemDpi() {
    static const auto call = Lookup<GetDpiForSystemCall>(User32(), "GetDpiForSystem");
    if (call) return static_cast<int>(call());
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kStandardDpi;
}

int WindowDpi(HWND window) {
    static const auto call = Lookup<GetDpiForWindowCall>(User32(), "GetDpiForWindow");
    if (call && window) {
        if (const UINT dpi = call(window); dpi > 0) return static_cast<int>(dpi);
    }
    return MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

int PrimaryMonitorDpi() {
    return MonitorDpi(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

RECT OuterRectForDpi(RECT client, DWORD style, bool hasMenu, DWORD exStyle, int dpi) {
    static const auto call =
        Lookup<AdjustWindowRectExForDpiCall>(User32(), "AdjustWindowRectExForDpi");
    if (!call || !call(&client, style, hasMenu, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&client, style, hasMenu, exStyle);
    return client;
}

LOGFONTW MessageFontAt(int dpi) {
    static const auto call =
        Lookup<SystemParametersInfoForDpiCall>(User32(), "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (call && call(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi)))
        return metrics.lfMessageFont;
    // Older systems give it at the system's DPI only.
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
        return metrics.lfMessageFont;
    }
    // No metrics at all: 9 points of the font every Windows has.
    LOGFONTW font{};
    font.lfHeight = -MulDiv(9, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
    return font;
}

}  // namespace lorvane::ui::win32
