#pragma once
// Identifiers of the main window: its menu items' commands, its class and its
// controls. The window test posts the commands as WM_COMMAND, since another
// program cannot open this one's menus under Wine.

namespace lorvane::win32 {

enum MenuId : unsigned {
    kIdPreview = 101,
    kIdExportRomList = 102,
    kIdMoveBadRoms = 103,
    kIdCreateDefIni = 104,
    kIdMakeGameList = 105,
    kIdJoystick = 110,
    kIdJoySel0 = 111,  // JOY_SEL index i is kIdJoySel0 + i
    kIdThisFrontend = 120,
};

// The main window's class name, for FindWindow.
inline constexpr const wchar_t* kMainWindowClass = L"LorvaneMainForm";
// Control identifiers of the children.
enum ControlId : int {
    kCtlSnapPath = 1001,
    kCtlMameExeName = 1002,
    kCtlText4 = 1003,
    kCtlText3 = 1004,
    kCtlLVNGameList = 1005,
    kCtlCombo1 = 1006,
    kCtlPicturePane = 1007,
    kCtlLabel1 = 1008,
    kCtlLine1 = 1009,
};

}  // namespace lorvane::win32
