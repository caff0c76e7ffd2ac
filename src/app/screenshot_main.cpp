// lorvane_screenshot APPDIR OUTPUT.png [GAME]
// Opens the main window on an application directory as the program would,
// answers the start-up messages with OK, clicks GAME (default pong) in the
// list, and saves the window under a title bar drawn by the style.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QListView>
#include <QMessageBox>
#include <QPainter>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "mame/rom_name.h"
#include "platform/application_directory.h"
#include "ui/qt/combo_parts.h"
#include "ui/qt/game_list_widget.h"
#include "ui/qt/main_window.h"
#include "util/failure.h"

namespace {

// Start-up messages (a missing data file) are answered as a user would.
void AnswerMessages() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "message: %s: %s\n", qPrintable(box->windowTitle()),
                         qPrintable(box->text()));
            box->accept();
        }
    });
    timer->start(50);
}

QImage WithTitleBar(QWidget& window) {
    const QPixmap body = window.grab();
    QStyleOptionTitleBar bar;
    bar.initFrom(&window);
    bar.text = window.windowTitle();
    bar.icon = window.windowIcon();
    bar.titleBarFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    bar.titleBarState = Qt::WindowActive;
    bar.state |= QStyle::State_Active;
    bar.subControls = QStyle::SC_All;
    const int barHeight = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, &window);
    bar.rect = QRect(0, 0, body.width(), barHeight);

    QImage image(body.width(), barHeight + body.height(), QImage::Format_ARGB32);
    image.fill(window.palette().color(QPalette::Window));
    QPainter painter(&image);
    window.style()->drawComplexControl(QStyle::CC_TitleBar, &bar, &painter, &window);
    painter.drawPixmap(0, barHeight, body);
    painter.setPen(window.palette().color(QPalette::Dark));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s APPDIR OUTPUT.png [GAME]\n", argv[0]);
        return 2;
    }
    const QByteArray appDir = argv[1];
    const QString output = QString::fromLocal8Bit(argv[2]);
    const std::string game = argc > 3 ? argv[3] : "pong";
    try {
        lorvane::platform::EnterDirectory(appDir.toStdString());
    } catch (const lorvane::util::Failure& f) {
        std::fprintf(stderr, "%s\n", f.Description().c_str());
        return 1;
    }

    AnswerMessages();
    lorvane::ui::qt::MainWindow window(appDir.toStdString());
    window.show();
    const lorvane::form::ComboBox& list = window.Form().State().gameList;
    if (!QTest::qWaitFor([&] { return list.Count() > 0; }, 120000)) {
        std::fprintf(stderr, "the game list stayed empty\n");
        return 1;
    }

    int row = -1;
    for (int i = 0; i < list.Count() && row < 0; ++i)
        if (lorvane::mame::ExtractRomName(list.Entry(i)) == game) row = i;
    if (row < 0) {
        std::fprintf(stderr, "%s is not in the list\n", game.c_str());
        return 1;
    }
    QListView* view = window.GameList()->List();
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QTest::qWait(300);

    if (!WithTitleBar(window).save(output)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(output));
        return 1;
    }
    std::printf("%s: %s\n", qPrintable(output), qPrintable(window.windowTitle()));
    return 0;
}
