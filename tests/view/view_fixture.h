#pragma once
// An application directory with the stand-in emulator, five games and two
// snapshots, and the main window opened on it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "combo_parts.h"
#include "game_list_widget.h"
#include "main_window.h"
#include "picture_pane.h"
#include "standin.h"
#include "temp_dir.h"

namespace lorvane::test {

// Rows of the list, in its sorted order; the listing gives them backwards, for the list to sort.
enum Row { kBreakout, kPacMan, kPokemon, kPong, kPuckMan, kRowCount };
constexpr const char* kGames[][2] = {{"breakout", "Breakout [TTL]"}, {"pacman", "Pac-Man (Midway)"},
                                     {"pokepuzl", "Pok\xc3\xa9mon Puzzle League"}, {"pong", "Pong (Rev E) [TTL]"},
                                     {"puckman", "PuckMan (Japan set 1)"}};
inline QString Entry(Row row) { return QString::fromUtf8(kGames[row][1]) + "    [" + kGames[row][0] + "]"; }
inline const QColor kPongColour(200, 0, 0);      // snap/pong.png, 40 x 30
inline const QColor kBreakoutColour(0, 0, 200);  // snap/breakout.png, 30 x 40

// Runs the action; every message box that opens meanwhile is answered with OK
// and recorded as "title / icon / text". Each must be plain text with OK only.
inline QStringList CatchMessageBoxes(const std::function<void()>& action) {
    QStringList caught;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&caught] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        const char* const icons[] = {"none", "information", "exclamation", "critical", "question"};
        caught << box->windowTitle() + " / " + icons[box->icon()] + " / " + box->text();
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        box->done(QMessageBox::Ok);
    });
    watcher.start(5);
    action();
    return caught;
}

// Its pane can be made to fail as on a system without a PNG reader.
class TestWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    bool PaneCanShowPictures() override { return picturesReadable && MainWindow::PaneCanShowPictures(); }
    bool picturesReadable = true;
};

class ViewTest : public ::testing::Test {
protected:
    // Writes the application directory, shows the window and waits for the start-up to fill the list.
    void Open(bool previewOn) {
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
            name.resize(17, ' ');
            listing += name + " \"" + kGames[row][1] + "\"\n";
        }
        WriteFile(dir_ / "LVN_LIST.txt", listing);
        for (const auto& [name, size, colour] : {std::tuple("pong", QSize(40, 30), kPongColour),
                                                 std::tuple("breakout", QSize(30, 40), kBreakoutColour)}) {
            QImage picture(size, QImage::Format_RGB32);
            picture.fill(colour);
            ASSERT_TRUE(picture.save(QString::fromStdString((dir_ / "snap" / name).string()) + ".png"));
        }
        window_ = std::make_unique<TestWindow>(dir_.Str());
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return State().Combo1.ListCount() == kRowCount; }));
        ASSERT_EQ(State().Preview, previewOn);
    }

    TestWindow& Window() { return *window_; }
    WindowState& State() { return window_->Form().State(); }
    ComboEdit* Edit() const { return window_->Combo1()->Edit(); }
    ComboListView* List() const { return window_->Combo1()->List(); }
    QAction* MenuItem(const char* name, int index = 0) const {
        return window_->findChildren<QAction*>(QString::fromLatin1(name)).value(index);
    }

    void Type(const char* text) {  // UTF-8; one key per character, accented ones too
        for (const QChar c : QString::fromUtf8(text))
            QTest::sendKeyEvent(QTest::Click, Edit(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(Edit(), key, modifiers); }
    void ClickRow(int row, bool twice = false) {
        const QModelIndex index = List()->model()->index(row, 0);
        List()->scrollTo(index);
        const QPoint at = List()->visualRect(index).center();
        twice ? QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at)
              : QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at);
    }
    void ClickMenuItem(QAction* item) {  // pops up the item's menu and clicks the item
        auto* menu = item ? qobject_cast<QMenu*>(item->parent()) : nullptr;
        ASSERT_NE(menu, nullptr);
        menu->popup(window_->mapToGlobal(QPoint(0, 0)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        const QPoint at = menu->actionGeometry(item).center();
        QTest::mouseMove(menu, at);
        QTest::mouseClick(menu, Qt::LeftButton, {}, at);
        EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }, 1000)) << "the menu stayed open";
    }
    void ResizeOuter(int widthTwips, int heightTwips) {
        const QSize frame = window_->frameGeometry().size() - window_->geometry().size();
        window_->resize(widthTwips / 15 - frame.width(), heightTwips / 15 - frame.height());
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return State().windowWidth == widthTwips && State().windowHeight == heightTwips;
        }, 2000)) << "outer size " << State().windowWidth << " x " << State().windowHeight;
    }
    QColor PaneColour() const {  // the middle of the pane's picture, invalid when it shows none
        const QImage image = window_->BrwPNGBrowser()->pixmap().toImage();
        return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
    }
    std::string Runs() const { return StandInArgs(dir_.Path(), "mame"); }  // one line per run
    bool RunsBecome(const std::string& runs) const {  // waits for the runs to be these
        return QTest::qWaitFor([&] { return Runs() == runs; }, 5000);
    }

    TempDir dir_;
    std::unique_ptr<TestWindow> window_;
};

}  // namespace lorvane::test
