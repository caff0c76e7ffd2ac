// Lorvane: the application directory is the one that holds this executable;
// the program works from there, so relative ROM and snapshot directories mean
// the same to it as to the emulator it starts.
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <cerrno>
#include <cstring>

#include "main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QByteArray appDir = QFile::encodeName(QCoreApplication::applicationDirPath());
    if (::chdir(appDir.constData()) != 0) {
        const int err = errno;
        QMessageBox::critical(nullptr, QStringLiteral("LVN"),
                              QStringLiteral("The application directory %1 cannot be entered: %2")
                                  .arg(QString::fromLocal8Bit(appDir), QString::fromLocal8Bit(std::strerror(err))));
        return 1;
    }
    lorvane::MainWindow window(appDir.toStdString());
    window.show();
    return app.exec();
}
