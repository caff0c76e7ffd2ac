// Lorvane: the application directory is the one that holds this executable;
// the program works from there, so relative ROM and snapshot directories mean
// the same to it as to the emulator it starts. The installed program's is the
// user's data folder, and it works from the user's home.
#include <QApplication>
#include <QMessageBox>
#include <memory>
#include <optional>
#include <string>

#include "form/emulator_setup.h"
#include "form/list_read_ahead.h"
#include "platform/application_directory.h"
#include "ui/qt/main_window.h"
#include "util/failure.h"
#ifdef LORVANE_INSTALLED
#include "app/installed_program.h"
#endif

int main(int argc, char* argv[]) {
    // The folders are entered before the toolkit starts, so that the game list
    // can be read meanwhile, on the other core.
    std::string appDir;
    std::optional<std::string> cannotStart;
    std::unique_ptr<lorvane::form::ListReadAhead> readAhead;
#ifdef LORVANE_INSTALLED
    std::optional<lorvane::platform::InstalledFolders> installed;
    try {
        installed = lorvane::app::EnterInstalledFolders();
        appDir = installed->appDir;
        readAhead = std::make_unique<lorvane::form::ListReadAhead>(
            appDir, lorvane::app::InstalledEmulatorSetup(*installed));
    } catch (const lorvane::util::Failure& f) {
        cannotStart = "Lorvane cannot start: " + f.Description();
    }
#else
    try {
        appDir = lorvane::platform::ApplicationDirectory();
        lorvane::platform::EnterDirectory(appDir);
        readAhead = std::make_unique<lorvane::form::ListReadAhead>(
            appDir, lorvane::form::PortableEmulatorSetup(appDir));
    } catch (const lorvane::util::Failure& f) {
        cannotStart =
            "The application directory " + appDir + " cannot be entered: " + f.Description();
    }
#endif

    QApplication app(argc, argv);
#ifdef LORVANE_INSTALLED
    lorvane::app::NameAfterDesktopEntry(app);
#endif
    if (cannotStart) {
        QMessageBox::critical(nullptr, QStringLiteral("LVN"), QString::fromStdString(*cannotStart));
        return 1;
    }
    lorvane::ui::qt::MainWindow window(appDir);
#ifdef LORVANE_INSTALLED
    lorvane::app::SetUpInstalledWindow(window, *installed);
#endif
    window.Form().UseListReadAhead(std::move(readAhead));
    window.show();
    return app.exec();
}
