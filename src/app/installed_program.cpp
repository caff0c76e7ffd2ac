#include "app/installed_program.h"

#include <QIcon>
#include <QMessageBox>

#include "form/system_emulator_setup.h"
#include "platform/application_directory.h"
#include "util/failure.h"

namespace lorvane::app {

std::optional<platform::InstalledFolders> PrepareInstalledProgram(QApplication& app) {
    // The desktop matches the window to lorvane.desktop by these names.
    app.setApplicationName(QString::fromLatin1(kInstalledProgramName));
    app.setDesktopFileName(QString::fromLatin1(kInstalledProgramName));
    try {
        platform::InstalledFolders folders =
            platform::PrepareInstalledFolders(kInstalledProgramName);
        // The emulator starts here, as in a terminal opened by the user.
        platform::EnterDirectory(folders.home);
        return folders;
    } catch (const util::Failure& f) {
        QMessageBox::critical(nullptr, QStringLiteral("LVN"),
                              QString::fromStdString("Lorvane cannot start: " + f.Description()));
        return std::nullopt;
    }
}

void SetUpInstalledWindow(ui::qt::MainWindow& window, const platform::InstalledFolders& folders) {
    window.Form().UseEmulatorSetup(form::SystemEmulatorSetup(folders.home));
    window.setWindowIcon(
        QIcon::fromTheme(QString::fromLatin1(kInstalledProgramName), window.windowIcon()));
}

}  // namespace lorvane::app
