#pragma once
// The installed program (/usr/games/lorvane): its files live in the user's
// data folder, not beside the executable; its emulator is Debian's, started in
// the user's home and reading its own ini files; its window belongs to the
// desktop entry lorvane.desktop.
#include <QApplication>
#include <optional>

#include "platform/user_folders.h"
#include "ui/qt/main_window.h"

namespace lorvane::app {

inline constexpr const char* kInstalledProgramName = "lorvane";

// Names the application after its desktop entry, makes the user's folder and
// enters the home folder. Nothing, after telling the user why, when that fails.
std::optional<platform::InstalledFolders> PrepareInstalledProgram(QApplication& app);

// The window's emulator and its icon: the installed theme's, else the built-in one.
void SetUpInstalledWindow(ui::qt::MainWindow& window, const platform::InstalledFolders& folders);

}  // namespace lorvane::app
