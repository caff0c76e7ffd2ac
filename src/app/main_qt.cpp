// Lorvane: the application directory is the one that holds this executable;
// the program works from there, so relative ROM and snapshot directories mean
// the same to it as to the emulator it starts.
#include <QApplication>
#include <QMessageBox>
#include <string>

#include "platform/application_directory.h"
#include "ui/qt/main_window.h"
#include "util/failure.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    std::string appDir;
    try {
        appDir = lorvane::platform::ApplicationDirectory();
        lorvane::platform::EnterDirectory(appDir);
    } catch (const lorvane::util::Failure& f) {
        QMessageBox::critical(nullptr, QStringLiteral("LVN"),
                              QString::fromStdString("The application directory " + appDir +
                                                     " cannot be entered: " + f.Description()));
        return 1;
    }
    lorvane::ui::qt::MainWindow window(appDir);
    window.show();
    return app.exec();
}
