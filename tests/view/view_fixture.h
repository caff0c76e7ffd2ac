#pragma once
// An application directory with the stand-in emulator, five games and two
// snapshots, and the main window opened on it.
#include <gtest/gtest.h>

#include <QColor>
#include <QMessageBox>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "combo_parts.h"
#include "main_window.h"
#include "temp_dir.h"

namespace lorvane::test {

// Rows of the fixture's list, in its sorted order.
enum Row { kBreakout, kPacMan, kPokemon, kPong, kPuckMan, kRowCount };
std::string Entry(Row row);

inline const QColor kPongColour(200, 0, 0);      // snap/pong.png, 40 x 30
inline const QColor kBreakoutColour(0, 0, 200);  // snap/breakout.png, 30 x 40

struct CaughtBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    Qt::TextFormat format;
    QMessageBox::StandardButtons buttons;
};

// Runs the action; every message box that opens meanwhile is recorded and
// answered with OK.
std::vector<CaughtBox> CatchMessageBoxes(const std::function<void()>& action);

class ViewTest : public ::testing::Test {
protected:
    // Writes the application directory, opens the window and waits for the
    // start-up to fill the list. The window class can be replaced.
    void Open(bool previewOn);
    void Open(bool previewOn, const std::function<std::unique_ptr<MainWindow>(std::string)>& make);

    MainWindow& Window() { return *window_; }
    WindowState& State() { return window_->Form().State(); }
    ComboEdit* Edit() const;
    ComboListView* List() const;
    QAction* MenuItem(const char* name, int index = 0) const;

    void Type(const QString& text);
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void ClickRow(int row);
    void DoubleClickRow(int row);
    // Pops up the item's menu and clicks the item with the mouse.
    void ClickMenuItem(QAction* item);
    // Resizes the window so that its outer size is exactly this many twips.
    void ResizeOuter(int widthTwips, int heightTwips);

    // The colour in the middle of the picture pane, or invalid when it shows none.
    QColor PaneColour() const;
    // The stand-in's recorded runs, one line each.
    std::vector<std::string> EmulatorRuns() const;
    bool WaitForEmulatorRuns(std::size_t count) const;

    TempDir dir_;
    std::unique_ptr<MainWindow> window_;
};

}  // namespace lorvane::test
