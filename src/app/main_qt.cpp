// Lorvane: the application directory is the one that holds this executable;
// the program works from there, so relative ROM and snapshot directories mean
// the same to it as to the emulator it starts.
#include <QApplication>
#include <QMessageBox>
#include <memory>
#include <optional>
#include <string>

#include "form/list_read_ahead.h"
#include "platform/application_directory.h"
#include "ui/qt/main_window.h"
#include "util/failure.h"

int main(int argc, char* argv[]) {
    // Entered before the toolkit starts, so that the game list can be read
    // meanwhile, on the other core.
    std::string appDir;
    std::optional<lorvane::util::Failure> notEntered;
    try {
        appDir = lorvane::platform::ApplicationDirectory();
        lorvane::platform::EnterDirectory(appDir);
    } catch (const lorvane::util::Failure& f) {
        notEntered = f;
    }
    std::unique_ptr<lorvane::form::ListReadAhead> readAhead;
    if (!notEntered) readAhead = std::make_unique<lorvane::form::ListReadAhead>(appDir);

    QApplication app(argc, argv);
    if (notEntered) {
        QMessageBox::critical(
            nullptr, QStringLiteral("LVN"),
            QString::fromStdString("The application directory " + appDir +
                                   " cannot be entered: " + notEntered->Description()));
        return 1;
    }
    lorvane::ui::qt::MainWindow window(appDir);
    window.Form().UseListReadAhead(std::move(readAhead));
    window.show();
    return app.exec();
}
