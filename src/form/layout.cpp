#include "form/layout.h"

namespace lorvane::form {
namespace {

// Outer sizes below these leave the layout as it is (a minimized window among them).
constexpr int kMinimumOuterWidth = 4800;
constexpr int kMinimumOuterHeight = 1170;
// What the frame, the margins and the fixed controls take from the outer size.
constexpr int kListWidthLessWithPane = 4800;  // the list ends 120 twips left of the pane
constexpr int kPaneLeftLess = 4560;
constexpr int kListWidthLessWithoutPane = 360;
constexpr int kListHeightLess = 1170;
constexpr int kEmulatorBoxWidthLess = 1920;

}  // namespace

bool LayOut(WindowLayout& layout, int outerWidth, int outerHeight, bool withSnapshotPane) {
    if (outerWidth < kMinimumOuterWidth || outerHeight < kMinimumOuterHeight) return false;
    if (withSnapshotPane) {
        layout.gameList.width = outerWidth - kListWidthLessWithPane;
        layout.snapshotPane.left = outerWidth - kPaneLeftLess;
    } else {
        layout.gameList.width = outerWidth - kListWidthLessWithoutPane;
    }
    layout.gameList.height = outerHeight - kListHeightLess;
    layout.emulatorNameBox.width = outerWidth - kEmulatorBoxWidthLess;
    return true;
}

}  // namespace lorvane::form
