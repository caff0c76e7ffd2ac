#include "ui/win32/picture_pane.h"

#include <wincodec.h>

#include <algorithm>

#include "ui/win32/com_on_demand.h"
#include "ui/win32/tab_focus.h"
#include "ui/win32/text_positions.h"
#include "ui/win32/window_class.h"

namespace lorvane::ui::win32 {
namespace {

constexpr const wchar_t* kPaneClass = L"LorvanePicturePane";

// Releases a COM interface when it goes.
template <typename T>
class Com {
public:
    Com() = default;
    ~Com() {
        if (p_) p_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

bool CreateFactory(Com<IWICImagingFactory>& factory) {
    return SUCCEEDED(CreateComObject(CLSID_WICImagingFactory, IID_IWICImagingFactory,
                                     reinterpret_cast<void**>(factory.Out())));
}

// The picture as a top-down 32-bit DIB section, premultiplied for AlphaBlend.
HBITMAP Decode(const std::wstring& path, int& width, int& height) {
    Com<IWICImagingFactory> factory;
    if (!CreateFactory(factory)) return nullptr;
    Com<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Out())))
        return nullptr;
    Com<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.Out()))) return nullptr;
    // Through the factory rather than the codec library's own export, which
    // would load that library at start.
    Com<IWICFormatConverter> converted;
    if (FAILED(factory->CreateFormatConverter(converted.Out())) ||
        FAILED(converted->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return nullptr;
    UINT w = 0, h = 0;
    if (FAILED(converted->GetSize(&w, &h)) || w == 0 || h == 0 || w > 16384 || h > 16384)
        return nullptr;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(w);
    info.bmiHeader.biHeight = -static_cast<LONG>(h);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    const UINT stride = w * 4;
    if (FAILED(converted->CopyPixels(nullptr, stride, stride * h, static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return nullptr;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return bitmap;
}

}  // namespace

PicturePane::~PicturePane() { DropPicture(); }

bool PicturePane::Create(HWND parent, int id, const RECT& bounds) {
    if (!RegisterWindowClassOnce(kPaneClass, &PicturePane::WindowProc,
                                 static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))))
        return false;
    hwnd_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, kPaneClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, bounds.left,
        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
    return hwnd_ != nullptr;
}

void PicturePane::DropPicture() {
    if (picture_) DeleteObject(picture_);
    picture_ = nullptr;
    pictureWidth_ = pictureHeight_ = 0;
}

void PicturePane::Navigate(const std::string& target) {
    page_ = target;
    DropPicture();
    if (target != "about:blank") picture_ = Decode(Wide(target), pictureWidth_, pictureHeight_);
    // The page as the pane's text, so that tools reading windows can tell what it shows.
    SetWindowTextW(hwnd_, picture_ ? Wide(target).c_str() : L"");
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool PicturePane::CanShowPictures() {
    Com<IWICImagingFactory> factory;
    if (!CreateFactory(factory)) return false;
    Com<IWICBitmapDecoder> decoder;
    return SUCCEEDED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.Out()));
}

void PicturePane::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT room;
    GetClientRect(hwnd_, &room);
    FillRect(dc, &room, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (picture_ && room.right > 0 && room.bottom > 0) {
        // Scaled to fit, aspect kept, centred.
        const double scale = std::min(static_cast<double>(room.right) / pictureWidth_,
                                      static_cast<double>(room.bottom) / pictureHeight_);
        const int w = std::max(1, static_cast<int>(pictureWidth_ * scale + 0.5));
        const int h = std::max(1, static_cast<int>(pictureHeight_ * scale + 0.5));
        const int x = (room.right - w) / 2;
        const int y = (room.bottom - h) / 2;
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, picture_);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(dc, x, y, w, h, source, 0, 0, pictureWidth_, pictureHeight_, blend);
        SelectObject(source, old);
        DeleteDC(source);
    }
    EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK PicturePane::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self =
            static_cast<PicturePane*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<PicturePane*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_PAINT:
            if (self) {
                self->Paint();
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;  // painted whole in WM_PAINT
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            return 0;
        case WM_KEYDOWN:
            // Tab order: the pane is last; the parent moves the focus on.
            if (wp == VK_TAB) {
                PostMessageW(GetParent(hwnd), kMsgMoveFocus, GetKeyState(VK_SHIFT) < 0, 0);
                return 0;
            }
            break;
        case WM_GETDLGCODE:
            return DLGC_WANTTAB;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace lorvane::ui::win32
