// lorvane_screenshot.exe APPDIR OUTPUT.png [GAME]
// Opens the Windows window on an application directory as the program would,
// waits for the game list, chooses GAME (default pong) as a click in the list
// does, and saves the window as the screen shows it (frame, caption and menu
// bar included) as a PNG picture. The README's Windows screenshot is made with
// it under Wine (scripts/make-screenshot.sh --windows).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstdio>
#include <string>
#include <vector>

#include "mame/rom_name.h"
#include "platform/application_directory.h"
#include "platform/wide_text.h"
#include "ui/win32/main_window.h"
#include "util/failure.h"

namespace {

using lorvane::platform::win32::Utf8;

constexpr ULONGLONG kListTimeoutMs = 120000;
constexpr DWORD kSettleMs = 500;

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps messages for a while, so that everything is drawn.
void Settle() {
    const ULONGLONG end = GetTickCount64() + kSettleMs;
    while (GetTickCount64() < end) {
        Pump();
        Sleep(10);
    }
}

// Releases a COM interface when it goes.
template <typename T>
struct Com {
    T* p = nullptr;
    ~Com() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
};

// The screen's pixels under the rectangle, as 32-bit top-down rows.
std::vector<BYTE> ScreenPixels(const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<BYTE> pixels(static_cast<std::size_t>(w) * h * 4);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool SavePng(const std::wstring& path, const std::vector<BYTE>& pixels, UINT w, UINT h) {
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(&factory.p))) &&
           SUCCEEDED(factory->CreateStream(&stream.p)) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder.p)) &&
           SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(&frame.p, nullptr)) &&
           SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(w, h)) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) &&
           IsEqualGUID(format, GUID_WICPixelFormat32bppBGR) &&
           SUCCEEDED(frame->WritePixels(h, w * 4, static_cast<UINT>(pixels.size()),
                                        const_cast<BYTE*>(pixels.data()))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

int Run(const std::wstring& appDirWide, const std::wstring& output, const std::string& game) {
    const std::string appDir = Utf8(appDirWide);
    try {
        lorvane::platform::EnterDirectory(appDir);
    } catch (const lorvane::util::Failure& f) {
        std::fprintf(stderr, "%s\n", f.Description().c_str());
        return 1;
    }
    lorvane::ui::win32::MainWindow window(appDir);
    if (!window.Create(GetModuleHandleW(nullptr))) {
        std::fprintf(stderr, "the window cannot be made: system error %lu\n", GetLastError());
        return 1;
    }
    window.Show(SW_SHOWNORMAL);
    const lorvane::form::ComboBox& list = window.Form().State().gameList;
    const ULONGLONG deadline = GetTickCount64() + kListTimeoutMs;
    while (list.Count() == 0 && GetTickCount64() < deadline) {
        Pump();
        Sleep(10);
    }
    int row = -1;
    for (int i = 0; i < list.Count() && row < 0; ++i)
        if (lorvane::mame::ExtractRomName(list.Entry(i)) == game) row = i;
    if (row < 0) {
        std::fprintf(stderr, "%s is not in the list (%d entries)\n", game.c_str(), list.Count());
        return 1;
    }
    window.Form().OnGameChosen(row);
    Settle();
    RedrawWindow(window.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();

    RECT r;
    GetWindowRect(window.Handle(), &r);
    const UINT w = static_cast<UINT>(r.right - r.left), h = static_cast<UINT>(r.bottom - r.top);
    if (!SavePng(output, ScreenPixels(r), w, h)) {
        std::fprintf(stderr, "cannot write %s\n", Utf8(output).c_str());
        return 1;
    }
    std::printf("%s: %ux%u at %d DPI: %s\n", Utf8(output).c_str(), w, h,
                GetDpiForWindow(window.Handle()), window.Form().State().caption.c_str());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: lorvane_screenshot APPDIR OUTPUT.png [GAME]\n");
        return 2;
    }
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const int result = Run(argv[1], argv[2], argc > 3 ? Utf8(argv[3]) : "pong");
    if (SUCCEEDED(com)) CoUninitialize();
    return result;
}
