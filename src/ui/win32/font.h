#pragma once
// A font made for one DPI, owned by the window that shows it: a window moved to
// a monitor with another DPI makes its fonts again.
#include <windows.h>

#include <utility>

namespace lorvane::ui::win32 {

class Font {
public:
    Font() = default;
    explicit Font(const LOGFONTW& font) : font_(CreateFontIndirectW(&font)) {}
    ~Font() {
        if (font_) DeleteObject(font_);
    }
    Font(Font&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
    Font& operator=(Font&& other) noexcept {
        if (this != &other) {
            if (font_) DeleteObject(font_);
            font_ = std::exchange(other.font_, nullptr);
        }
        return *this;
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    HFONT Get() const { return font_; }
    // Shows the text of `control` in this font.
    void SetOn(HWND control, bool redraw) const {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), redraw);
    }

private:
    HFONT font_ = nullptr;
};

// Arial at a size in hundredths of a point, for this DPI.
Font ArialFont(int dpi, int hundredthsOfPoint, bool bold);
// The system's message font at this DPI.
Font MessageFont(int dpi);

}  // namespace lorvane::ui::win32
