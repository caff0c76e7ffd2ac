// The main window driven by real key and mouse events, over the stand-in emulator and real files.
#include "ui/qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "support/standin.h"
#include "support/temp_dir.h"
#include "ui/qt/combo_parts.h"
#include "ui/qt/game_list_widget.h"
#include "ui/qt/picture_pane.h"

namespace lorvane::ui::qt {
namespace {

using namespace test;

enum Row {
    kBreakout,
    kPacMan,
    kPokemon,
    kPong,
    kPuckMan,
    kRowCount,
    kAnyRow = -2
};  // sorted; listed backwards
constexpr const char* kGames[][2] = {{"breakout", "Breakout [TTL]"},
                                     {"pacman", "Pac-Man (Midway)"},
                                     {"pokepuzl", "Pok\xc3\xa9mon Puzzle League"},
                                     {"pong", "Pong (Rev E) [TTL]"},
                                     {"puckman", "PuckMan (Japan set 1)"}};
QString Entry(int row) {
    return QString::fromUtf8(kGames[row][1]) + "    [" + kGames[row][0] + "]";
}
const QColor kPongColour(200, 0, 0), kNone;  // snap/pong.png; breakout has none

QStringList CatchMessageBoxes(const std::function<void()>& action) {
    QStringList caught;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&caught] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            box && box->isVisible()) {
            caught << box->windowTitle() + " / " + box->text();
            EXPECT_TRUE(box->textFormat() == Qt::PlainText &&
                        box->standardButtons() == QMessageBox::Ok &&
                        box->icon() == QMessageBox::Information);
            box->done(QMessageBox::Ok);
        }
    });
    watcher.start(5);
    action();
    return caught;
}

struct TestWindow : MainWindow {  // its pane can fail as on a system without a PNG reader
    using MainWindow::MainWindow;
    bool picturesReadable = true;
    bool PaneCanShowPictures() override {
        return picturesReadable && MainWindow::PaneCanShowPictures();
    }
};

struct MainWindowTest : ::testing::Test {
    void SetUp() override {  // shown, with the list filled by the start-up
        InstallStandIn(dir_.Path(), "mame");
        for (const char* sub : {"mame.verify", "roms", "snap"})
            std::filesystem::create_directories(dir_ / sub);
        WriteFile(dir_ / "mame.verify" / "pong",
                  "romset pong is best available\n1 romsets found, 1 were OK.\n");
        WriteFile(dir_ / "mame.ini", "rompath " + (dir_ / "roms").string() +
                                         "\nsnapshot_directory " + (dir_ / "snap").string() + "\n");
        WriteFile(dir_ / "LVN.ini",
                  "[Settings]\r\nMAME NAME=mame\r\nData File "
                  "Name=LVN_LIST.txt\r\nJoy=1\r\nPreview_on=False\r\n");
        std::string listing = "Name:             Description:\n";
        for (int row = kRowCount - 1; row >= 0; --row)
            WriteFile(dir_ / "roms" / (std::string(kGames[row][0]) + ".zip"), ""),
                listing += std::string(kGames[row][0]) + "  \"" + kGames[row][1] + "\"\n";
        WriteFile(dir_ / "LVN_LIST.txt", listing);
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(kPongColour);
        ASSERT_TRUE(picture.save(QString::fromStdString((dir_ / "snap" / "pong.png").string())));
        (window_ = std::make_unique<TestWindow>(dir_.Str()))->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        ASSERT_TRUE(QTest::qWaitFor(
            [this] { return window_->Form().State().gameList.Count() == kRowCount; }));
    }
    ComboEdit* Edit() const { return window_->GameList()->Edit(); }
    ComboListView* List() const { return window_->GameList()->List(); }
    QAction* MenuItem(const char* name, int i = 0) const {
        return window_->findChildren<QAction*>(name).value(i);
    }
    void Type(const char* text) {  // UTF-8, one key per character
        for (const QChar c : QString::fromUtf8(text))
            QTest::sendKeyEvent(QTest::Click, Edit(), Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
    }
    void Key(QKeySequence key) { QTest::keySequence(Edit(), key); }
    void ClickRow(int row, bool twice = false) {
        const QPoint at = List()->visualRect(List()->model()->index(row, 0)).center();
        twice ? QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at)
              : QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at);
    }
    void ClickMenuItem(QAction* item) {
        auto* menu = item ? qobject_cast<QMenu*>(item->parent()) : nullptr;
        ASSERT_NE(menu, nullptr);
        menu->popup(window_->mapToGlobal(QPoint(0, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }, 1000));
    }
    void ExpectRuns(const std::string& runs) {  // the stand-in's runs, one line each
        (void)QTest::qWaitFor([&] { return StandInArgs(dir_.Path(), "mame") == runs; }, 5000);
        EXPECT_EQ(StandInArgs(dir_.Path(), "mame"), runs);
    }
    QColor PaneColour() const {  // the middle of the pane's picture, kNone when it shows none
        const QImage image = window_->SnapshotPane()->pixmap().toImage();
        return image.isNull() ? kNone : image.pixelColor(image.width() / 2, image.height() / 2);
    }
    TempDir dir_;
    std::unique_ptr<TestWindow> window_;
};

// Menus, preview, joystick, About, icon; type-ahead in any case; keys and clicks choose and launch;
// resize limits.
TEST_F(MainWindowTest, MenusTypeAheadLaunchAndResizes) {
    window_->picturesReadable = false;
    EXPECT_EQ(CatchMessageBoxes([&] { ClickMenuItem(MenuItem("Preview")); }),
              QStringList{"Feature Not supported / "
                          "This feature is not supported with your version of Internet Explorer."});
    window_->picturesReadable = true;
    ClickRow(kPong);
    ClickMenuItem(MenuItem("Preview"));
    EXPECT_TRUE(MenuItem("Preview")->isChecked() && window_->SnapshotPane()->isVisible());
    EXPECT_EQ(PaneColour(), kNone);  // the empty page, not the selected game's picture
    EXPECT_EQ(MainWindow(dir_.Str()).windowTitle(), "LorvaneW");  // before any start-up
    // Both sizes of the icon file built into the program (a static library's resources can be left
    // out).
    EXPECT_EQ(window_->windowIcon().availableSizes(), (QList<QSize>{{32, 32}, {16, 16}}));
    QStringList items;  // each menu's name and title, then its items' names and captions
    for (const QAction* title : window_->menuBar()->actions()) {
        items << title->menu()->objectName() + ' ' + title->text();
        for (const QAction* item : title->menu()->actions())
            items << item->objectName() + ' ' + item->text();
    }
    EXPECT_EQ(items.join('|'),
              "tools Options|Preview Enable Preview|Export_ROM_list Export Available Rom list|"
              "Move_bad_roms Move Bad Roms Sets|create_def_ini Create Default ini|"
              "MAKE_GAME_LIST Recreate Game List|Input Input|Joystick JoyStick Settings|"
              "JOY_SEL Autodetect|JOY_SEL None|JOY_SEL HotRod|JOY_SEL HotRod SE|about About|"
              "This_frontend About this Frontend");
    for (int twice = 0; twice < 2; ++twice)
        ClickMenuItem(MenuItem("JOY_SEL", 2));  // the same item again stays checked
    EXPECT_TRUE(MenuItem("JOY_SEL", 2)->isChecked());
    EXPECT_EQ(
        std::ranges::count_if(window_->findChildren<QAction*>("JOY_SEL"), &QAction::isChecked), 1);
    const QString about =
        CatchMessageBoxes([&] { ClickMenuItem(MenuItem("This_frontend")); }).join("\n--\n");
    EXPECT_TRUE(
        QRegularExpression(
            QRegularExpression::anchoredPattern(  // exactly one box
                "Dunmere / Dunmere v1\\.6\nBy [^\r\n]*\\S\nFor information on MAME please visit "
                "\\S+\n"
                "For more feature rich frontends for use with M\\.A\\.M\\.E please visit\n\\S+"))
            .match(about)
            .hasMatch())
        << about.toStdString();
    const struct {
        QKeySequence key;
        const char* typed;
        QString text;
        int start, row;
        QColor pane;
    } steps[] = {{QKeySequence::SelectAll, "p", {}, 1, kPacMan, kNone},
                 {{}, "u", {}, 2, kPuckMan, kNone},
                 {Qt::Key_Backspace, "", "Pu", 2, kAnyRow, kNone},
                 {Qt::Key_Home, "x", "Pux", 3, -1, kNone},  // appends
                 {QKeySequence::SelectAll, "Pok", {}, 3, kPokemon, kNone},
                 {{}, "\xc3\xa9", {}, 4, kPokemon, kNone},  // 2 bytes
                 {Qt::Key_Down, "", {}, 0, kPong, kPongColour},
                 {{}, nullptr, {}, 0, kBreakout, kNone}};
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.key.toString().toStdString() << step.typed);
        if (!step.typed) ClickRow(step.row);
        if (!step.key.isEmpty()) Key(step.key);
        Type(step.typed);
        const QString text = step.text.isNull() ? Entry(step.row) : step.text;
        const int at =
            Edit()->hasSelectedText() ? Edit()->selectionStart() : Edit()->cursorPosition();
        EXPECT_EQ(QString("%1|%2|%3").arg(Edit()->text()).arg(at).arg(Edit()->selectedText()),
                  QString("%1|%2|%3")
                      .arg(text)
                      .arg(step.start)
                      .arg(step.text.isNull() ? text.mid(step.start) : ""));
        const int row = step.row == kAnyRow ? List()->currentIndex().row()
                                            : step.row;  // model, view, selection agree
        EXPECT_EQ((QList<int>{window_->Form().State().gameList.SelectedIndex(),
                              List()->currentIndex().row(),
                              List()->selectionModel()->selectedIndexes().value(0).row()}),
                  QList<int>(3, row));
        EXPECT_EQ(PaneColour(), step.pane);
    }
    ClickRow(kPong, true);  // double-click and Enter check the set, then start it; a failed check
                            // starts nothing
    ExpectRuns("pong\t-hotrod\t-verifyroms\npong\t-hotrod\n");
    EXPECT_EQ(
        CatchMessageBoxes([&] {  // one box: the failed check's report, whose text tests/form pins
            Type("Pa");
            Key(Qt::Key_Enter);
            Key(QKeySequence::SelectAll);
            Type("zz");
            Key(Qt::Key_Return);  // nothing selected: nothing happens
            QTest::qWait(200);
        })
            .size(),
        1);
    ExpectRuns("pong\t-hotrod\t-verifyroms\npong\t-hotrod\npacman\t-hotrod\t-verifyroms\n");
    const struct {
        int width, height, listWidth, listHeight, exeWidth, paneLeft;
    } rows[] = {// twips
                {4800, 6000, 0, 4830, 2880, 240},
                {7500, 1170, 2700, 0, 5580, 2940},
                {4815, 1185, 15, 15, 2895, 255},
                {4785, 6000, 4200, 4830, 7080, 4440},
                {9000, 1155, 4200, 4830, 7080, 4440}};
    const form::WindowState& s = window_->Form().State();
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height);
        for (const QSize t :
             {QSize(9000, 6000), QSize(row.width, row.height)}) {  // from the largest size
            window_->resize(t / 15 -
                            (window_->frameGeometry().size() - window_->geometry().size()));
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return s.windowWidth == t.width() && s.windowHeight == t.height(); }));
        }
        EXPECT_EQ(window_->GameList()->size(), QSize(row.listWidth / 15, row.listHeight / 15));
        EXPECT_EQ(window_->EmulatorNameBox()->width(), row.exeWidth / 15);
        EXPECT_EQ(window_->SnapshotPane()->geometry(), QRect(row.paneLeft / 15, 28, 288, 285));
    }
}

}  // namespace
}  // namespace lorvane::ui::qt

// Offscreen, with a temporary home: Qt's settings and the file dialog's history never reach the
// user's.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const lorvane::test::TempDir home;
    for (const char* name :
         {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
        std::filesystem::create_directory(home / name);
        std::filesystem::permissions(home / name, std::filesystem::perms::owner_all);
        setenv(name, (home / name).c_str(), 1);
    }
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
