// The main window driven by real key and mouse events, over the stand-in emulator and real files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "combo_parts.h"
#include "game_list_widget.h"
#include "main_window.h"
#include "picture_pane.h"
#include "standin.h"
#include "temp_dir.h"

namespace lorvane::test {
namespace {

// Rows in the list's sorted order; the listing gives them backwards, for the list to sort.
enum Row { kBreakout, kPacMan, kPokemon, kPong, kPuckMan, kRowCount, kAnyRow = -2 };
constexpr const char* kGames[][2] = {{"breakout", "Breakout [TTL]"}, {"pacman", "Pac-Man (Midway)"},
                                     {"pokepuzl", "Pok\xc3\xa9mon Puzzle League"}, {"pong", "Pong (Rev E) [TTL]"},
                                     {"puckman", "PuckMan (Japan set 1)"}};
QString Entry(int row) { return QString::fromUtf8(kGames[row][1]) + "    [" + kGames[row][0] + "]"; }
const QColor kPongColour(200, 0, 0), kBreakoutColour(0, 0, 200), kNone;  // snap/<name>.png

// "title / text" of each message box the action opens; each must be plain text, information, OK only.
template <class Action>
QStringList CatchMessageBoxes(Action action) {
    QStringList caught;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&caught] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        caught << box->windowTitle() + " / " + box->text();
        EXPECT_TRUE(box->textFormat() == Qt::PlainText && box->standardButtons() == QMessageBox::Ok &&
                    box->icon() == QMessageBox::Information);
        box->done(QMessageBox::Ok);
    });
    watcher.start(5);
    action();
    return caught;
}

class TestWindow : public MainWindow {  // its pane can fail as on a system without a PNG reader
public:
    using MainWindow::MainWindow;
    bool PaneCanShowPictures() override { return picturesReadable && MainWindow::PaneCanShowPictures(); }
    bool picturesReadable = true;
};

class ViewTest : public ::testing::Test {
protected:
    void Open(bool previewOn) {  // shown, with the list filled by the start-up
        InstallStandIn(dir_.Path(), "mame");
        for (const char* sub : {"mame.verify", "roms", "snap"}) std::filesystem::create_directories(dir_ / sub);
        WriteFile(dir_ / "mame.verify" / "pong", "romset pong is best available\n1 romsets found, 1 were OK.\n");
        WriteFile(dir_ / "mame.ini",
                  "rompath " + (dir_ / "roms").string() + "\nsnapshot_directory " + (dir_ / "snap").string() + "\n");
        WriteFile(dir_ / "LVN.ini", std::string("[Settings]\r\nMAME NAME=mame\r\nData File Name=LVN_LIST.txt\r\n"
                                                "Joy=1\r\nPreview_on=") + (previewOn ? "True" : "False") + "\r\n");
        std::string listing = "Name:             Description:\n";
        for (int row = kRowCount - 1; row >= 0; --row) {
            std::string name = kGames[row][0];
            WriteFile(dir_ / "roms" / (name + ".zip"), "");
            listing += name.append(17 - name.size(), ' ') + " \"" + kGames[row][1] + "\"\n";
        }
        WriteFile(dir_ / "LVN_LIST.txt", listing);
        for (const auto& [name, colour] : {std::pair("pong", kPongColour), std::pair("breakout", kBreakoutColour)}) {
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(colour);
            ASSERT_TRUE(picture.save(QString::fromStdString((dir_ / "snap" / name).string()) + ".png"));
        }
        window_ = std::make_unique<TestWindow>(dir_.Str());
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return State().Combo1.ListCount() == kRowCount; }));
        ASSERT_EQ(State().Preview, previewOn);
    }
    WindowState& State() { return window_->Form().State(); }
    ComboEdit* Edit() const { return window_->Combo1()->Edit(); }
    ComboListView* List() const { return window_->Combo1()->List(); }
    QAction* MenuItem(const char* name, int index = 0) const {
        return window_->findChildren<QAction*>(QString::fromLatin1(name)).value(index);
    }
    void Type(const char* text) {  // UTF-8, one key per character
        for (const QChar c : QString::fromUtf8(text))
            QTest::sendKeyEvent(QTest::Click, Edit(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
    void Key(QKeySequence key) { QTest::keySequence(Edit(), key); }
    void ClickRow(int row, bool twice = false) {
        const QModelIndex index = List()->model()->index(row, 0);
        List()->scrollTo(index);
        const QPoint at = List()->visualRect(index).center();
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
    void ResizeOuter(int width, int height) {  // in twips
        const QSize frame = window_->frameGeometry().size() - window_->geometry().size();
        window_->resize(width / 15 - frame.width(), height / 15 - frame.height());
        ASSERT_TRUE(QTest::qWaitFor([&] { return State().windowWidth == width && State().windowHeight == height; }));
    }
    QColor PaneColour() const {  // the middle of the pane's picture, kNone when it shows none
        const QImage image = window_->BrwPNGBrowser()->pixmap().toImage();
        return image.isNull() ? kNone : image.pixelColor(image.width() / 2, image.height() / 2);
    }
    void ExpectRuns(const std::string& runs) {  // the stand-in's runs, one line each
        (void)QTest::qWaitFor([&] { return StandInArgs(dir_.Path(), "mame") == runs; }, 5000);
        EXPECT_EQ(StandInArgs(dir_.Path(), "mame"), runs);
    }

    TempDir dir_;
    std::unique_ptr<TestWindow> window_;
};

// Typing completes the first entry with the typed prefix in any case and never runs Combo1_Click;
// keys and clicks choose entries and do, showing the picture scaled to fit, or none.
TEST_F(ViewTest, TypeAheadArrowPageKeysAndClicksChooseEntries) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    // Text null: the row's entry. Completed: selected from start to the end, else the caret at start.
    const struct { QKeySequence key; const char* typed; QString text; int start; bool completed; int row; QColor pane; }
        steps[] = {
            {{}, "p", {}, 1, true, kPacMan, kNone},
            {{}, "u", {}, 2, true, kPuckMan, kNone},  // replaces the completed part
            {Qt::Key_Backspace, "", "Pu", 2, false, kAnyRow, kNone},  // the row: the control's own
            {{}, "z", "Puz", 3, false, -1, kNone},
            {Qt::Key_Home, "x", "Puzx", 4, false, -1, kNone},  // caret moved, nothing selected: still appends
            {QKeySequence::SelectAll, "Pok", {}, 3, true, kPokemon, kNone},
            {{}, "\xc3\xa9", {}, 4, true, kPokemon, kNone},  // one character, two bytes
            {QKeySequence::SelectAll, "Br", {}, 2, true, kBreakout, kNone},
            {Qt::Key_Down, "", {}, 0, true, kPacMan, kNone},  // no snapshot
            {Qt::Key_Up, "", {}, 0, true, kBreakout, kBreakoutColour},
            {Qt::Key_Up, "", {}, 0, true, kBreakout, kBreakoutColour},
            {Qt::Key_PageDown, "", {}, 0, true, kPuckMan, kNone},
            {Qt::Key_Down, "", {}, 0, true, kPuckMan, kNone},
            {Qt::Key_PageUp, "", {}, 0, true, kBreakout, kBreakoutColour},
            {{}, nullptr, {}, 0, true, kPong, kPongColour}};  // typed null: a click on the row
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.key.toString().toStdString() << step.typed);
        if (!step.typed) ClickRow(step.row);
        if (!step.key.isEmpty()) Key(step.key);
        Type(step.typed);
        const QString text = step.text.isNull() ? Entry(step.row) : step.text;
        const QString tail = step.completed ? text.mid(step.start) : QString();
        const ComboBox& list = State().Combo1;
        EXPECT_EQ(Edit()->text(), text);
        EXPECT_EQ(Edit()->hasSelectedText() ? Edit()->selectionStart() : Edit()->cursorPosition(), step.start);
        EXPECT_EQ(Edit()->selectedText(), tail);
        EXPECT_EQ(list.text, text.toStdString());  // the model agrees, counting bytes
        EXPECT_EQ(list.selStart, text.left(step.start).toUtf8().size());
        EXPECT_EQ(list.selLength, tail.toUtf8().size());
        if (step.row != kAnyRow) {
            EXPECT_EQ((QList<int>{list.ListIndex(), List()->currentIndex().row(),
                                  List()->selectionModel()->selectedIndexes().value(0).row()}),
                      QList<int>(3, step.row));
        }
        EXPECT_EQ(PaneColour(), step.pane);
    }
    const QSize room = window_->BrwPNGBrowser()->contentsRect().size();
    EXPECT_EQ(window_->BrwPNGBrowser()->pixmap().size(), QSize(room.width(), room.width() * 3 / 4));
}

// Double-click and Enter check the set, then start it; a failed check reports and starts nothing.
TEST_F(ViewTest, DoubleClickAndEnterStartTheGameAfterTheCheck) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    ClickRow(kPong, true);
    ExpectRuns("pong\t-verifyroms\npong\n");
    EXPECT_EQ(CatchMessageBoxes([&] {
                  Type("Pa");
                  Key(Qt::Key_Enter);
                  Key(QKeySequence::SelectAll);
                  Type("zz");
                  Key(Qt::Key_Return);  // nothing selected: nothing happens
                  QTest::qWait(200);
              }),
              QStringList{"Rom Error Info / romset \"pacman\" not found!\n"});
    Key(QKeySequence::SelectAll);
    Type("Pon");
    Key(Qt::Key_Return);
    ExpectRuns("pong\t-verifyroms\npong\npacman\t-verifyroms\npong\t-verifyroms\npong\n");
}

// The preview switch shows the empty page, relays out, shows no pictures while off and says when it
// cannot work. Below either limit the layout stays; at and above it follows the outer size (twips).
TEST_F(ViewTest, SwitchesThePreviewAndResizesAtAndAroundTheLimits) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    const auto switchTo = [&](bool on) {
        ClickMenuItem(MenuItem("Preview"));
        EXPECT_EQ(MenuItem("Preview")->isChecked(), on);
        EXPECT_EQ(window_->BrwPNGBrowser()->isVisible(), on);
        EXPECT_EQ(window_->Combo1()->width(), window_->frameGeometry().width() - (on ? 320 : 24));
    };
    window_->picturesReadable = false;
    EXPECT_EQ(CatchMessageBoxes([&] { switchTo(false); }),
              QStringList{"Feature Not supported / "
                          "This feature is not supported with your version of Internet Explorer."});
    window_->picturesReadable = true;
    switchTo(true);
    EXPECT_EQ(window_->BrwPNGBrowser()->Page(), "about:blank");
    ClickRow(kPong);
    EXPECT_EQ(PaneColour(), kPongColour);
    switchTo(false);
    ClickRow(kBreakout);
    EXPECT_EQ(PaneColour(), kPongColour);
    switchTo(true);  // the empty page, not the selected game's picture
    EXPECT_EQ(PaneColour(), kNone);

    const struct { bool preview; int width, height, listWidth, listHeight, exeWidth, paneLeft; } rows[] = {
        {true, 4800, 6000, 0, 4830, 2880, 240},      {true, 7500, 1170, 2700, 0, 5580, 2940},
        {true, 4815, 1185, 15, 15, 2895, 255},       {true, 4785, 6000, 4200, 4830, 7080, 4440},
        {true, 9000, 1155, 4200, 4830, 7080, 4440},  {false, 4815, 1185, 4455, 15, 2895, 4440}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height << " preview " << row.preview);
        ASSERT_NO_FATAL_FAILURE(ResizeOuter(9000, 6000));
        if (State().Preview != row.preview) switchTo(row.preview);
        ASSERT_NO_FATAL_FAILURE(ResizeOuter(row.width, row.height));
        EXPECT_EQ(window_->Combo1()->size(), QSize(row.listWidth / 15, row.listHeight / 15));
        EXPECT_EQ(window_->MameExeName()->width(), row.exeWidth / 15);
        EXPECT_EQ(window_->BrwPNGBrowser()->geometry(), QRect(row.paneLeft / 15, 28, 288, 285));
        EXPECT_EQ(window_->BrwPNGBrowser()->isVisible(), row.preview);
    }
}

// Exact captions; one joystick mark follows the choice; the About box.
TEST_F(ViewTest, MenusJoystickMarksAndAbout) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    MainWindow fresh(dir_.Str());  // not shown: no start-up has run
    EXPECT_EQ(fresh.windowTitle(), "LorvaneW");
    QStringList items;  // each menu's name and title, then its items' names and captions
    for (const QAction* title : fresh.menuBar()->actions()) {
        items << title->menu()->objectName() + ' ' + title->text();
        for (const QAction* item : title->menu()->actions()) items << item->objectName() + ' ' + item->text();
    }
    EXPECT_EQ(items.join('|'), "tools Options|Preview Enable Preview|Export_ROM_list Export Available Rom list|"
                               "Move_bad_roms Move Bad Roms Sets|create_def_ini Create Default ini|"
                               "MAKE_GAME_LIST Recreate Game List|Input Input|Joystick JoyStick Settings|"
                               "JOY_SEL Autodetect|JOY_SEL None|JOY_SEL HotRod|JOY_SEL HotRod SE|about About|"
                               "This_frontend About this Frontend");
    const auto joyMarks = [&] {
        QString marks;
        for (int i = 0; i < 4; ++i) marks += MenuItem("JOY_SEL", i)->isChecked() ? 'x' : '-';
        return marks + (MenuItem("Joystick")->isChecked() ? 'x' : '-');
    };
    EXPECT_EQ(joyMarks(), "-x---");  // Joy=1 from LVN.ini
    ClickMenuItem(MenuItem("JOY_SEL", 2));
    ClickMenuItem(MenuItem("JOY_SEL", 2));  // the same item again stays checked
    EXPECT_TRUE(CatchMessageBoxes([&] { ClickMenuItem(MenuItem("Joystick")); }).isEmpty());
    EXPECT_EQ(joyMarks(), "--x--");
    EXPECT_EQ(State().Text3, " -hotrod");
    const QStringList boxes = CatchMessageBoxes([&] { ClickMenuItem(MenuItem("This_frontend")); });
    const QRegularExpression about(QRegularExpression::anchoredPattern(
        "Dunmere / Dunmere v1\\.6\nBy [^\r\n]*\\S\nFor information on MAME please visit \\S+\n"
        "For more feature rich frontends for use with M\\.A\\.M\\.E please visit\n\\S+"));
    EXPECT_TRUE(boxes.size() == 1 && about.match(boxes[0]).hasMatch()) << boxes.join("\n--\n").toStdString();
}

// A folder dialog over the window with the instruction; the path without its slash, Cancel "".
TEST_F(ViewTest, FolderChooserGivesThePathWithoutSlashOrNothing) {
    std::filesystem::create_directories(dir_ / "bad");
    MainWindow window(dir_.Str());
    for (const std::string& chosen : {(dir_ / "bad").string() + "/", std::string()}) {
        QTimer::singleShot(0, [&] {
            auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(chooser && chooser->parentWidget() == &window && chooser->fileMode() == QFileDialog::Directory);
            EXPECT_EQ(chooser->windowTitle(), "Please select a folder to place all bad roms.");
            if (chosen.empty()) return chooser->reject();
            chooser->setDirectory(QString::fromStdString(chosen));
            static_cast<QDialog*>(chooser)->accept();
        });
        EXPECT_EQ(window.BrowseForFolder("Please select a folder to place all bad roms."),
                  chosen.empty() ? "" : (dir_ / "bad").string());
    }
}

}  // namespace
}  // namespace lorvane::test

// Offscreen, with a temporary home: Qt's settings and the file dialog's history never reach the user's.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
        const QString path = home.path() + '/' + name;
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, QFile::encodeName(path));
    }
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
