#pragma once
// The window state measures in twips; Qt in device-independent pixels.

namespace lorvane {

inline constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

constexpr int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

}  // namespace lorvane
