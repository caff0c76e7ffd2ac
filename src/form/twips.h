#pragma once
// The window is laid out in twips (1/1440 inch); a screen counts pixels. At 96
// dots per inch (Qt's device-independent pixels) a pixel is 15 twips.

namespace lorvane::form {

class Twips {
public:
    static constexpr int kPerInch = 1440;
    static constexpr int kStandardDpi = 96;

    explicit constexpr Twips(int dpi = kStandardDpi) : dpi_(dpi > 0 ? dpi : kStandardDpi) {}
    constexpr int Dpi() const { return dpi_; }
    // Rounded to the nearest pixel (halves away from zero).
    constexpr int ToPixels(int twips) const {
        const long long t = static_cast<long long>(twips) * dpi_;
        return static_cast<int>(t >= 0 ? (t + kPerInch / 2) / kPerInch
                                       : -((-t + kPerInch / 2) / kPerInch));
    }
    constexpr int FromPixels(int pixels) const {
        const long long p = static_cast<long long>(pixels) * kPerInch;
        return static_cast<int>(p >= 0 ? (p + dpi_ / 2) / dpi_ : -((-p + dpi_ / 2) / dpi_));
    }

private:
    int dpi_;
};

}  // namespace lorvane::form
