#pragma once
// Everything the window shows and the program works with, as a plain model:
// the handlers change it, and each view shows it after every change.
#include <array>
#include <string>

#include "form/combo_box.h"
#include "form/layout.h"
#include "form/menu.h"
#include "platform/paths.h"
#include "util/failure.h"

namespace lorvane::form {

struct SnapshotPane {
    bool visible = true;
    std::string page;  // the picture file shown, "about:blank", or empty before any
};

struct WindowState {
    // The emulator's executable, relative to the application directory: the
    // one text box the user sees and may type in.
    std::string emulatorFileName = "mame.exe";
    // The game data file, relative to the application directory.
    std::string dataFileName = "LVN_LIST.txt";
    // Where the snapshot pictures are, ending with the separator.
    std::string snapshotFolder = std::string("snap") + platform::kPathSeparator;
    // Appended to the emulator's command line: empty, " -joy", " -hotrod" or " -hotrodse".
    std::string joystickOption;
    // The chosen joystick mode's index as decimal text, as the settings file keeps it.
    std::string joystickIndex;

    // The menu check marks: the preview flag, and at most one joystick mode.
    bool previewOn = false;
    std::array<bool, kJoystickModeCount> joystickChecks{};

    ComboBox gameList;
    SnapshotPane snapshotPane;
    std::string caption = "LorvaneW";
    WindowLayout layout;

    // The window's outer size in twips, as the view last reported it.
    int windowWidth = 0;
    int windowHeight = 0;

    // The program's one pending error, which the start-up check reads.
    util::PendingError pendingError;
};

}  // namespace lorvane::form
