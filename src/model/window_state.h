#pragma once
// The values the program keeps in its window's controls, as a plain model.
// Sizes are in twips (15 twips a pixel at 96 dots per inch).
#include <array>
#include <string>

#include "combo_box.h"
#include "failure.h"
#include "platform_paths.h"

namespace lorvane {

struct ControlSize {
    int width;
    int height;
};

struct PicturePaneState {
    bool visible = true;
    int left = 5520;
    static constexpr int kTop = 420;
    static constexpr int kWidth = 4320;
    static constexpr int kHeight = 4275;
    std::string page;  // empty: no page yet
};

struct WindowState {
    // text boxes
    std::string MameExeName = "mame.exe";
    std::string LVNGameList = "LVN_LIST.txt";
    std::string snap_path = std::string("snap") + kPathSeparator;
    std::string Text3;  // joystick option for the command line
    std::string Text4;  // joystick index as decimal text

    // menu check marks
    bool Preview = false;
    std::array<bool, 4> JOY_SEL{};

    ComboBox Combo1;
    PicturePaneState brwPNGBrowser;
    std::string caption = "LorvaneW";

    // sizes that Form_Resize sets
    ControlSize Combo1Size{5295, 4230};
    ControlSize MameExeNameSize{3735, 285};

    // outer window size, as the view last reported it
    int windowWidth = 0;
    int windowHeight = 0;

    PendingError err;
};

}  // namespace lorvane
