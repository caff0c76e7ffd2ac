#pragma once
// Where the window's controls stand, in twips of the client area, and how
// they follow the window's size. Both views place their controls from here.
#include "form/twips.h"

namespace lorvane::form {

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The client area's size when the window is created.
inline constexpr int kClientWidth = 8010;
inline constexpr int kClientHeight = 4770;

struct WindowLayout {
    TwipsRect gameList{120, 420, 5295, 4230};
    TwipsRect emulatorNameBox{1680, 60, 3735, 285};
    // Only its left edge follows the window; it keeps its size.
    TwipsRect snapshotPane{5520, 420, 4320, 4275};
    TwipsRect label{120, 120, 1575, 255};
    // A horizontal line along the top of the client area, one pixel high,
    // from `left` to `left + width` inclusive; it never moves.
    TwipsRect line{120, 0, 5640, 0};
};

// Lays the controls out for a window of this outer size (in twips), with or
// without the snapshot pane. Below either minimum nothing changes, so no width
// or height goes negative; false then. In both layouts the rightmost control
// ends 240 twips short of the window's outer right edge, and the list's bottom
// lies 750 twips above its outer bottom edge. Without the pane the pane's left
// edge stays where it was.
bool LayOut(WindowLayout& layout, int outerWidth, int outerHeight, bool withSnapshotPane);

}  // namespace lorvane::form
