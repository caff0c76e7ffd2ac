// The menus as built, their check marks after clicks, the preview switch and
// the About box, with mouse clicks on the popped-up menus.
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "game_list_widget.h"
#include "picture_pane.h"
#include "view_fixture.h"

namespace lorvane::test {
namespace {

class MenusTest : public ViewTest {
protected:
    std::vector<bool> JoyMarks() {
        std::vector<bool> marks;
        for (int i = 0; i < 4; ++i) marks.push_back(MenuItem("JOY_SEL", i)->isChecked());
        return marks;
    }
};

using Items = std::vector<std::pair<QString, QString>>;  // object name, caption

Items ItemsOf(const QMenu* menu) {
    Items items;
    for (const QAction* item : menu->actions()) {
        EXPECT_FALSE(item->isSeparator());
        EXPECT_EQ(item->menu(), nullptr);
        EXPECT_TRUE(item->shortcut().isEmpty());
        items.emplace_back(item->objectName(), item->text());
    }
    return items;
}

TEST_F(MenusTest, MenusHoldTheirItemsInOrderWithoutShortcuts) {
    MainWindow fresh(dir_.Str());  // not shown: no start-up has run
    const QList<QAction*> titles = fresh.menuBar()->actions();
    ASSERT_EQ(titles.size(), 3);
    const char* const names[] = {"tools", "Input", "about"};
    const char* const captions[] = {"Options", "Input", "About"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(titles[i]->menu(), nullptr);
        EXPECT_EQ(titles[i]->menu()->objectName(), names[i]);
        EXPECT_EQ(titles[i]->text(), captions[i]);
    }
    EXPECT_EQ(ItemsOf(titles[0]->menu()), (Items{{"Preview", "Enable Preview"},
                                                 {"Export_ROM_list", "Export Available Rom list"},
                                                 {"Move_bad_roms", "Move Bad Roms Sets"},
                                                 {"create_def_ini", "Create Default ini"},
                                                 {"MAKE_GAME_LIST", "Recreate Game List"}}));
    EXPECT_EQ(ItemsOf(titles[1]->menu()), (Items{{"Joystick", "JoyStick Settings"},
                                                 {"JOY_SEL", "Autodetect"},
                                                 {"JOY_SEL", "None"},
                                                 {"JOY_SEL", "HotRod"},
                                                 {"JOY_SEL", "HotRod SE"}}));
    EXPECT_EQ(ItemsOf(titles[2]->menu()), (Items{{"This_frontend", "About this Frontend"}}));
    for (const QAction* item : fresh.findChildren<QAction*>()) EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(fresh.windowTitle(), "LorvaneW");
}

TEST_F(MenusTest, JoystickMarksFollowTheChoice) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    EXPECT_EQ(JoyMarks(), (std::vector<bool>{false, true, false, false}));  // Joy=1 from LVN.ini

    ClickMenuItem(MenuItem("JOY_SEL", 2));
    EXPECT_EQ(JoyMarks(), (std::vector<bool>{false, false, true, false}));
    ClickMenuItem(MenuItem("JOY_SEL", 2));  // the same item again stays checked
    EXPECT_EQ(JoyMarks(), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(State().Text3, " -hotrod");

    const auto boxes = CatchMessageBoxes([&] { ClickMenuItem(MenuItem("Joystick")); });
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(MenuItem("Joystick")->isChecked());
    EXPECT_EQ(JoyMarks(), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(State().Text3, " -hotrod");
    EXPECT_EQ(State().Text4, "2");
}

TEST_F(MenusTest, PreviewSwitchShowsTheEmptyPageAndChangesTheLayout) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    PicturePane* pane = Window().BrwPNGBrowser();
    const int outerWidth = Window().frameGeometry().width();
    ClickRow(kPong);
    EXPECT_TRUE(pane->Page().isEmpty());  // the preview is off

    ClickMenuItem(MenuItem("Preview"));
    EXPECT_TRUE(MenuItem("Preview")->isChecked());
    EXPECT_TRUE(pane->isVisible());
    EXPECT_EQ(pane->Page(), "about:blank");  // not the selected game's picture
    EXPECT_EQ(Window().Combo1()->width(), outerWidth - 320);

    ClickRow(kPong);
    EXPECT_EQ(PaneColour(), kPongColour);

    ClickMenuItem(MenuItem("Preview"));
    EXPECT_FALSE(MenuItem("Preview")->isChecked());
    EXPECT_FALSE(pane->isVisible());
    EXPECT_EQ(Window().Combo1()->width(), outerWidth - 24);

    ClickMenuItem(MenuItem("Preview"));  // on again: the empty page first
    EXPECT_TRUE(pane->isVisible());
    EXPECT_FALSE(PaneColour().isValid());
}

class NoPictureWindow : public MainWindow {
public:
    using MainWindow::MainWindow;
    bool PaneCanShowPictures() override { return false; }
};

TEST_F(MenusTest, PreviewThatCannotShowPicturesSaysSoAndStaysOff) {
    ASSERT_NO_FATAL_FAILURE(Open(false, [](std::string dir) { return std::make_unique<NoPictureWindow>(dir); }));
    const int outerWidth = Window().frameGeometry().width();

    const auto boxes = CatchMessageBoxes([&] { ClickMenuItem(MenuItem("Preview")); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Feature Not supported");
    EXPECT_EQ(boxes[0].text, "This feature is not supported with your version of Internet Explorer.");
    EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
    EXPECT_FALSE(MenuItem("Preview")->isChecked());
    EXPECT_FALSE(Window().BrwPNGBrowser()->isVisible());
    EXPECT_EQ(Window().Combo1()->width(), outerWidth - 24);
}

TEST_F(MenusTest, AboutBoxShowsFivePlainLines) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    const auto boxes = CatchMessageBoxes([&] { ClickMenuItem(MenuItem("This_frontend")); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Dunmere");
    EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(boxes[0].format, Qt::PlainText);
    EXPECT_EQ(boxes[0].buttons, QMessageBox::Ok);
    const QStringList lines = boxes[0].text.split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Dunmere v1.6");
    EXPECT_TRUE(lines[1].startsWith("By "));
    EXPECT_TRUE(lines[2].startsWith("For information on MAME please visit "));
    EXPECT_EQ(lines[3], "For more feature rich frontends for use with M.A.M.E please visit");
    EXPECT_FALSE(boxes[0].text.contains('\r'));
    for (const QString& line : lines) EXPECT_FALSE(line.isEmpty());
}

}  // namespace
}  // namespace lorvane::test
