#include "view_fixture.h"

#include <QAbstractButton>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <sstream>

#include "game_list_widget.h"
#include "picture_pane.h"
#include "standin.h"

namespace fs = std::filesystem;

namespace lorvane::test {
namespace {

struct Game {
    const char* name;
    const char* description;
};

// Listed out of order: the list sorts them.
constexpr Game kGames[] = {
    {"pong", "Pong (Rev E) [TTL]"},  {"pacman", "Pac-Man (Midway)"},
    {"puckman", "PuckMan (Japan set 1)"}, {"breakout", "Breakout [TTL]"},
    {"pokepuzl", "Pok\xc3\xa9mon Puzzle League"},
};

std::string ListingLine(const Game& game) {
    std::string name = game.name;
    name.resize(17, ' ');
    return name + " \"" + game.description + "\"\n";
}

void WritePicture(const fs::path& path, int width, int height, const QColor& colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(path.string()), "PNG"));
}

}  // namespace

std::string Entry(Row row) {
    static const char* const kEntries[] = {
        "Breakout [TTL]    [breakout]", "Pac-Man (Midway)    [pacman]",
        "Pok\xc3\xa9mon Puzzle League    [pokepuzl]", "Pong (Rev E) [TTL]    [pong]",
        "PuckMan (Japan set 1)    [puckman]"};
    return kEntries[row];
}

std::vector<CaughtBox> CatchMessageBoxes(const std::function<void()>& action) {
    std::vector<CaughtBox> caught;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&caught] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        caught.push_back({box->windowTitle(), box->text(), box->icon(), box->textFormat(), box->standardButtons()});
        box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
    });
    watcher.start();
    action();
    watcher.stop();
    return caught;
}

void ViewTest::Open(bool previewOn) {
    Open(previewOn, [](std::string appDir) { return std::make_unique<MainWindow>(std::move(appDir)); });
}

void ViewTest::Open(bool previewOn, const std::function<std::unique_ptr<MainWindow>(std::string)>& make) {
    InstallStandIn(dir_.Path(), "mame");
    fs::create_directories(dir_ / "mame.verify");
    WriteFile(dir_ / "mame.verify" / "pong", "romset pong is best available\n1 romsets found, 1 were OK.\n");
    WriteFile(dir_ / "mame.ini", "rompath " + (dir_ / "roms").string() +
                                     "\nsnapshot_directory " + (dir_ / "snap").string() + "\n");
    WriteFile(dir_ / "LVN.ini", std::string("[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\n"
                                            "Joy=1\r\nPreview_on=") +
                                    (previewOn ? "True" : "False") + "\r\n");
    std::string listing = "Name:             Description:\n";
    fs::create_directories(dir_ / "roms");
    for (const Game& game : kGames) {
        listing += ListingLine(game);
        WriteFile(dir_ / "roms" / (std::string(game.name) + ".zip"), "");
    }
    WriteFile(dir_ / "LVN_LIST.txt", listing);
    fs::create_directories(dir_ / "snap");
    WritePicture(dir_ / "snap" / "pong.png", 40, 30, kPongColour);
    WritePicture(dir_ / "snap" / "breakout.png", 30, 40, kBreakoutColour);

    window_ = make(dir_.Str());
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return State().Combo1.ListCount() == kRowCount; }));
    ASSERT_EQ(State().Preview, previewOn);
}

ComboEdit* ViewTest::Edit() const { return window_->Combo1()->Edit(); }
ComboListView* ViewTest::List() const { return window_->Combo1()->List(); }

QAction* ViewTest::MenuItem(const char* name, int index) const {
    const QList<QAction*> items = window_->findChildren<QAction*>(QString::fromLatin1(name));
    return index < items.size() ? items.at(index) : nullptr;
}

void ViewTest::Type(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(Edit(), c.toLatin1());
        else  // keyClick knows ASCII only
            QTest::sendKeyEvent(QTest::Click, Edit(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}

void ViewTest::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) { QTest::keyClick(Edit(), key, modifiers); }

void ViewTest::ClickRow(int row) {
    const QModelIndex index = List()->model()->index(row, 0);
    List()->scrollTo(index);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(index).center());
}

void ViewTest::DoubleClickRow(int row) {
    const QModelIndex index = List()->model()->index(row, 0);
    List()->scrollTo(index);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(index).center());
}

void ViewTest::ClickMenuItem(QAction* item) {
    ASSERT_NE(item, nullptr);
    QMenu* menu = nullptr;
    for (QMenu* m : window_->menuBar()->findChildren<QMenu*>())
        if (m->actions().contains(item)) menu = m;
    ASSERT_NE(menu, nullptr);
    menu->popup(window_->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
    const QPoint at = menu->actionGeometry(item).center();
    QTest::mouseMove(menu, at);
    QTest::mouseClick(menu, Qt::LeftButton, {}, at);
    EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }, 1000)) << "the menu stayed open";
}

void ViewTest::ResizeOuter(int widthTwips, int heightTwips) {
    const QSize frame = window_->frameGeometry().size() - window_->geometry().size();
    window_->resize(widthTwips / 15 - frame.width(), heightTwips / 15 - frame.height());
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return State().windowWidth == widthTwips && State().windowHeight == heightTwips;
    }, 2000)) << "outer size " << State().windowWidth << " x " << State().windowHeight;
}

QColor ViewTest::PaneColour() const {
    const QPixmap picture = window_->BrwPNGBrowser()->pixmap();
    if (picture.isNull()) return QColor();
    const QImage image = picture.toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

std::vector<std::string> ViewTest::EmulatorRuns() const {
    std::istringstream in(StandInArgs(dir_.Path(), "mame"));
    std::vector<std::string> runs;
    for (std::string line; std::getline(in, line);) runs.push_back(line);
    return runs;
}

bool ViewTest::WaitForEmulatorRuns(std::size_t count) const {
    return QTest::qWaitFor([&] { return EmulatorRuns().size() >= count; }, 5000);
}

}  // namespace lorvane::test
