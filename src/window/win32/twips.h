#pragma once
// The window state measures in twips (1/1440 inch); the screen in pixels at
// the system's DPI (96 gives 15 twips a pixel).

namespace lorvane::win32 {

class Twips {
public:
    explicit Twips(int dpi) : dpi_(dpi > 0 ? dpi : 96) {}
    int Dpi() const { return dpi_; }
    int ToPixels(int twips) const {
        const long long t = static_cast<long long>(twips) * dpi_;
        return static_cast<int>(t >= 0 ? (t + 720) / 1440 : -((-t + 720) / 1440));
    }
    int FromPixels(int pixels) const {
        const long long p = static_cast<long long>(pixels) * 1440;
        return static_cast<int>(p >= 0 ? (p + dpi_ / 2) / dpi_ : -((-p + dpi_ / 2) / dpi_));
    }

private:
    int dpi_;
};

}  // namespace lorvane::win32
