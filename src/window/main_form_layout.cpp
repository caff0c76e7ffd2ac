#include "main_form.h"

namespace lorvane {

void MAIN_form::SetOuterSize(int widthTwips, int heightTwips) {
    state_.windowWidth = widthTwips;
    state_.windowHeight = heightTwips;
    Form_Resize();
}

// Below either threshold nothing changes, so no width or height goes negative.
void MAIN_form::Form_Resize() {
    const int w = state_.windowWidth;
    const int h = state_.windowHeight;
    if (w < 4800 || h < 1170) return;
    if (state_.Preview) {
        state_.Combo1Size.width = w - 4800;
        state_.brwPNGBrowser.left = w - 4560;
        state_.Combo1Size.height = h - 1170;
        state_.MameExeNameSize.width = w - 1920;
    } else {
        state_.Combo1Size.width = w - 360;
        state_.Combo1Size.height = h - 1170;
        state_.MameExeNameSize.width = w - 1920;
    }
    RefreshView();
}

}  // namespace lorvane
