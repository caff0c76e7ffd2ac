#pragma once
// The installed program (/usr/games/lorvane): its files live in the user's
// data folder, not beside the executable; its emulator is Debian's, started in
// the user's home and reading its own ini files; its window belongs to the
// desktop entry lorvane.desktop.
#include <QApplication>
#include <memory>

#include "form/emulator_setup.h"
#include "platform/user_folders.h"
#include "ui/qt/main_window.h"

namespace lorvane::app {

inline constexpr const char* kInstalledProgramName = "lorvane";

// Makes the user's folder and enters the home folder, where the emulator starts.
// Throws Failure when that cannot be done.
platform::InstalledFolders EnterInstalledFolders();

// The desktop matches the window to lorvane.desktop by these names.
void NameAfterDesktopEntry(QApplication& app);

// Debian's emulator, as the installed program runs it.
std::unique_ptr<form::EmulatorSetup> InstalledEmulatorSetup(
    const platform::InstalledFolders& folders);

// The window's emulator and its icon: the installed theme's, else the built-in one.
void SetUpInstalledWindow(ui::qt::MainWindow& window, const platform::InstalledFolders& folders);

}  // namespace lorvane::app
