#include "form/layout.h"

#include <gtest/gtest.h>

#include <array>

#include "form/twips.h"

namespace lorvane::form {
namespace {

// 15 twips a pixel at 96 dots per inch, 10 at 144; halves round away from zero, both ways.
TEST(Layout, TwipsBecomePixelsAtTheScreensResolution) {
    const Twips standard, large(144);
    EXPECT_EQ((std::array{standard.ToPixels(8010), standard.ToPixels(7), standard.ToPixels(8),
                          standard.ToPixels(-8), standard.FromPixels(534)}),
              (std::array{534, 0, 1, -1, 8010}));
    EXPECT_EQ(
        (std::array{large.ToPixels(8010), large.ToPixels(5), large.FromPixels(801), large.Dpi()}),
        (std::array{801, 1, 8010, 144}));
    EXPECT_EQ(Twips(0).Dpi(), Twips::kStandardDpi)
        << "an unreadable resolution is taken as the standard one";
}

// At the smallest size each width or height is 0; below it nothing moves.
TEST(Layout, TheSmallestWindowLeavesNothingNegative) {
    WindowLayout layout;
    EXPECT_TRUE(LayOut(layout, 4800, 1170, true));
    EXPECT_EQ((std::array{layout.gameList.width, layout.gameList.height, layout.snapshotPane.left,
                          layout.emulatorNameBox.width}),
              (std::array{0, 0, 240, 2880}));
    const WindowLayout before = layout;
    for (const auto& [width, height] : {std::pair{4799, 6000}, {9000, 1169}, {0, 0}}) {
        EXPECT_FALSE(LayOut(layout, width, height, false)) << width << " x " << height;
        EXPECT_EQ(layout.gameList.width, before.gameList.width);
    }
    EXPECT_EQ((std::array{layout.snapshotPane.top, layout.snapshotPane.width,
                          layout.snapshotPane.height}),
              (std::array{420, 4320, 4275}))
        << "the pane keeps its size";
}

}  // namespace
}  // namespace lorvane::form
