#include "app/installed_program.h"

#include <QIcon>

#include "form/system_emulator_setup.h"
#include "platform/application_directory.h"

namespace lorvane::app {

platform::InstalledFolders EnterInstalledFolders() {
    platform::InstalledFolders folders = platform::PrepareInstalledFolders(kInstalledProgramName);
    // The emulator starts here, as in a terminal opened by the user.
    platform::EnterDirectory(folders.home);
    return folders;
}

void NameAfterDesktopEntry(QApplication& app) {
    app.setApplicationName(QString::fromLatin1(kInstalledProgramName));
    app.setDesktopFileName(QString::fromLatin1(kInstalledProgramName));
}

std::unique_ptr<form::EmulatorSetup> InstalledEmulatorSetup(
    const platform::InstalledFolders& folders) {
    return form::SystemEmulatorSetup(folders.home);
}

void SetUpInstalledWindow(ui::qt::MainWindow& window, const platform::InstalledFolders& folders) {
    window.Form().UseEmulatorSetup(InstalledEmulatorSetup(folders));
    window.setWindowIcon(
        QIcon::fromTheme(QString::fromLatin1(kInstalledProgramName), window.windowIcon()));
}

}  // namespace lorvane::app
