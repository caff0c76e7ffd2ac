#include "form/menu.h"

namespace lorvane::form {
namespace {

constexpr MenuItem kOptionsItems[] = {
    {"Preview", "Enable Preview", Command::TogglePreview, true},
    {"Export_ROM_list", "Export Available Rom list", Command::ExportAvailableGames, false},
    {"Move_bad_roms", "Move Bad Roms Sets", Command::MoveBadRomSets, false},
    {"create_def_ini", "Create Default ini", Command::ResetSettingsToDefaults, false},
    {"MAKE_GAME_LIST", "Recreate Game List", Command::RecreateGameList, false},
};

constexpr MenuItem kInputItems[] = {
    {"Joystick", "JoyStick Settings", Command::JoystickSettings, false},
    {"JOY_SEL", "Autodetect", JoystickModeCommand(0), true},
    {"JOY_SEL", "None", JoystickModeCommand(1), true},
    {"JOY_SEL", "HotRod", JoystickModeCommand(2), true},
    {"JOY_SEL", "HotRod SE", JoystickModeCommand(3), true},
};

constexpr MenuItem kAboutItems[] = {
    {"This_frontend", "About this Frontend", Command::ShowAbout, false},
};

constexpr Menu kMenuBar[] = {
    {"tools", "Options", kOptionsItems},
    {"Input", "Input", kInputItems},
    {"about", "About", kAboutItems},
};

}  // namespace

std::span<const Menu> MenuBar() { return kMenuBar; }

}  // namespace lorvane::form
