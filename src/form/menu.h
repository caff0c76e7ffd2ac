#pragma once
// The menu bar, written once for both views: each view builds its menus from
// this tree and hands a chosen item's command to MainForm::Run.
#include <span>

namespace lorvane::form {

// The numbers are the items' command identifiers on Windows, where tests post
// them as WM_COMMAND; they stay as they are.
enum class Command : unsigned {
    TogglePreview = 101,
    ExportAvailableGames = 102,
    MoveBadRomSets = 103,
    ResetSettingsToDefaults = 104,
    RecreateGameList = 105,
    JoystickSettings = 110,  // a heading of the joystick modes: runs nothing
    JoystickMode0 = 111,     // JoystickMode0 + i is the joystick mode with index i
    ShowAbout = 120,
};

inline constexpr int kJoystickModeCount = 4;

constexpr Command JoystickModeCommand(int index) {
    return static_cast<Command>(static_cast<unsigned>(Command::JoystickMode0) +
                                static_cast<unsigned>(index));
}
// The joystick mode a command chooses, or -1 for any other command.
constexpr int JoystickModeOf(Command command) {
    const unsigned first = static_cast<unsigned>(Command::JoystickMode0);
    const unsigned id = static_cast<unsigned>(command);
    return id >= first && id < first + kJoystickModeCount ? static_cast<int>(id - first) : -1;
}

struct MenuItem {
    const char* name;  // the item's object name, by which tests and tools find it
    const char* caption;
    Command command;
    bool checkable;
};

struct Menu {
    const char* name;
    const char* title;
    std::span<const MenuItem> items;
};

// The three menus from left to right, each with its items in order. There are
// no submenus, separators or shortcut keys.
std::span<const Menu> MenuBar();

}  // namespace lorvane::form
