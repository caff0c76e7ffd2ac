// Lorvane: the application directory is the one that holds this executable;
// the program works from there, so relative ROM and snapshot directories mean
// the same to it as to the emulator it starts.
#include <QApplication>
#include <QMessageBox>
#include <string>

#include "platform/application_directory.h"
#include "ui/qt/main_window.h"
#include "util/failure.h"
#ifdef LORVANE_INSTALLED
#include "app/installed_program.h"
#endif

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    std::string appDir;
#ifdef LORVANE_INSTALLED
    const auto installed = lorvane::app::PrepareInstalledProgram(app);
    if (!installed) return 1;
    appDir = installed->appDir;
#else
    try {
        appDir = lorvane::platform::ApplicationDirectory();
        lorvane::platform::EnterDirectory(appDir);
    } catch (const lorvane::util::Failure& f) {
        QMessageBox::critical(nullptr, QStringLiteral("LVN"),
                              QString::fromStdString("The application directory " + appDir +
                                                     " cannot be entered: " + f.Description()));
        return 1;
    }
#endif
    lorvane::ui::qt::MainWindow window(appDir);
#ifdef LORVANE_INSTALLED
    lorvane::app::SetUpInstalledWindow(window, *installed);
#endif
    window.show();
    return app.exec();
}
