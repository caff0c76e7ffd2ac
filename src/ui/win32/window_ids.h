#pragma once
// The main window's class name and its controls' identifiers, for the window
// and for tests that find them from outside. The menu items' identifiers are
// their commands (form/menu.h).

namespace lorvane::ui::win32 {

// The main window's class name, for FindWindow.
inline constexpr const wchar_t* kMainWindowClass = L"LorvaneMainForm";

enum ControlId : int {
    kEmulatorNameBoxId = 1002,
    kGameListId = 1006,
    kSnapshotPaneId = 1007,
    kLabelId = 1008,
    kLineId = 1009,
};

}  // namespace lorvane::ui::win32
