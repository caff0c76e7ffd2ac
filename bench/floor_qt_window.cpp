// The least a Qt program can do to start here: show an empty main window of
// lorvane's size with the caption given as its one argument. bench_window times
// it exactly as it times lorvane, so that what lorvane's own start-up adds to
// the toolkit's can be told apart.
#include <QApplication>
#include <QMainWindow>
#include <cstdio>

#include "form/layout.h"
#include "form/twips.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: floor_qt_window CAPTION\n");
        return 2;
    }
    constexpr lorvane::form::Twips kTwips;
    QMainWindow window;
    window.setWindowTitle(QString::fromLocal8Bit(argv[1]));
    window.resize(kTwips.ToPixels(lorvane::form::kClientWidth),
                  kTwips.ToPixels(lorvane::form::kClientHeight));
    window.show();
    return app.exec();
}
