// The window as built and laid out, its menus, the preview switch, the About
// box and the folder chooser.
#include <QFileDialog>
#include <QMenuBar>
#include <QRegularExpression>

#include "view_fixture.h"
#include "window_icon.h"

namespace lorvane::test {
namespace {

using WindowTest = ViewTest;

TEST_F(WindowTest, OpensWithItsIconFocusedOnTheListThenResizesAtAndOnePixelAroundTheLimits) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    EXPECT_EQ(Window().centralWidget()->size(), QSize(534, 318));
    const int outerWidth = Window().frameGeometry().width();
    EXPECT_EQ(Window().Combo1()->width(), outerWidth - 320);  // laid out for the outer size once shown
    EXPECT_EQ(Window().focusWidget(), Edit());
    for (QWidget* next : std::initializer_list<QWidget*>{Window().MameExeName(), Window().BrwPNGBrowser()}) {
        QTest::keyClick(Window().focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(Window().focusWidget(), next);
    }
    for (const int size : {32, 16}) {  // the icon: a pyramid in sixteen colours on transparency
        SCOPED_TRACE(size);
        const QImage image = PyramidImage(size);
        EXPECT_TRUE(image.format() == QImage::Format_Indexed8 && image.colorCount() <= 17);
        EXPECT_TRUE(Window().windowIcon().availableSizes().contains(QSize(size, size)));
        const auto at = [&](int x, int y) { return image.pixelColor(x * size / 32, y * size / 32); };
        // Corners, left face, right face, the strip along the base.
        EXPECT_EQ((QList<QColor>{at(0, 0), at(31, 2), at(12, 20), at(24, 20), at(16, 27)}),
                  (QList<QColor>{Qt::transparent, Qt::transparent, QColor(192, 192, 192), Qt::black,
                                 QColor(128, 128, 128)}));
    }
    Window().MameExeName()->selectAll();
    QTest::keyClicks(Window().MameExeName(), "mame2");
    EXPECT_EQ(State().MameExeName, "mame2");

    // Each row starts from 9000 x 6000; below a limit that layout stays. In twips.
    const struct { bool preview; int width, height, listWidth, listHeight, exeWidth, paneLeft; } rows[] = {
        {true, 9000, 6000, 4200, 4830, 7080, 4440},   {true, 4800, 6000, 0, 4830, 2880, 240},
        {true, 7500, 1170, 2700, 0, 5580, 2940},      {true, 4815, 1185, 15, 15, 2895, 255},
        {true, 4785, 6000, 4200, 4830, 7080, 4440},   {true, 9000, 1155, 4200, 4830, 7080, 4440},
        {false, 9000, 6000, 8640, 4830, 7080, 4440},  // the hidden pane never moves
        {false, 4800, 1170, 4440, 0, 2880, 4440},     {false, 4815, 1185, 4455, 15, 2895, 4440},
        {false, 4785, 6000, 8640, 4830, 7080, 4440},  {false, 9000, 1155, 8640, 4830, 7080, 4440},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height << " preview " << row.preview);
        if (State().Preview != row.preview) ClickMenuItem(MenuItem("Preview"));
        ASSERT_NO_FATAL_FAILURE(ResizeOuter(9000, 6000));
        ASSERT_NO_FATAL_FAILURE(ResizeOuter(row.width, row.height));
        EXPECT_EQ(Window().Combo1()->size(), QSize(row.listWidth / 15, row.listHeight / 15));
        EXPECT_EQ(Window().MameExeName()->width(), row.exeWidth / 15);
        EXPECT_EQ(Window().BrwPNGBrowser()->geometry(), QRect(row.paneLeft / 15, 28, 288, 285));
        EXPECT_EQ(Window().BrwPNGBrowser()->isVisible(), row.preview);
    }
}

TEST_F(WindowTest, MenusHoldTheirItemsJoystickMarksFollowTheChoiceAboutShowsFiveLines) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    MainWindow fresh(dir_.Str());  // not shown: no start-up has run
    EXPECT_EQ(fresh.windowTitle(), "LorvaneW");
    QStringList items;  // the menus' names and titles, each followed by its items' names and captions
    for (const QAction* title : fresh.menuBar()->actions()) {
        items << title->menu()->objectName() + ' ' + title->text();
        for (const QAction* item : title->menu()->actions()) {
            items << item->objectName() + ' ' + item->text();
            EXPECT_TRUE(!item->isSeparator() && !item->menu() && item->shortcut().isEmpty() && !item->isChecked());
        }
    }
    EXPECT_EQ(items, (QStringList{
                         "tools Options", "Preview Enable Preview", "Export_ROM_list Export Available Rom list",
                         "Move_bad_roms Move Bad Roms Sets", "create_def_ini Create Default ini",
                         "MAKE_GAME_LIST Recreate Game List", "Input Input", "Joystick JoyStick Settings",
                         "JOY_SEL Autodetect", "JOY_SEL None", "JOY_SEL HotRod", "JOY_SEL HotRod SE", "about About",
                         "This_frontend About this Frontend"}));

    const auto joyMarks = [&] {
        QString marks;
        for (int i = 0; i < 4; ++i) marks += MenuItem("JOY_SEL", i)->isChecked() ? 'x' : '-';
        return marks;
    };
    EXPECT_EQ(joyMarks(), "-x--");  // Joy=1 from LVN.ini
    ClickMenuItem(MenuItem("JOY_SEL", 2));
    ClickMenuItem(MenuItem("JOY_SEL", 2));  // the same item again stays checked
    EXPECT_EQ(joyMarks(), "--x-");
    EXPECT_EQ(State().Text3, " -hotrod");
    EXPECT_TRUE(CatchMessageBoxes([&] { ClickMenuItem(MenuItem("Joystick")); }).isEmpty());
    EXPECT_FALSE(MenuItem("Joystick")->isChecked());
    EXPECT_EQ(joyMarks(), "--x-");

    const QStringList boxes = CatchMessageBoxes([&] { ClickMenuItem(MenuItem("This_frontend")); });
    const QRegularExpression about(QRegularExpression::anchoredPattern(
        "Dunmere / information / Dunmere v1\\.6\nBy [^\r\n]*\\S\nFor information on MAME please visit \\S+\n"
        "For more feature rich frontends for use with M\\.A\\.M\\.E please visit\n\\S+"));
    EXPECT_TRUE(boxes.size() == 1 && about.match(boxes[0]).hasMatch()) << boxes.join("\n--\n").toStdString();
}

TEST_F(WindowTest, PreviewSwitchShowsTheEmptyPageRelaysOutAndSaysWhenPicturesCannotBeShown) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    const auto switchTo = [&](bool on) {
        ClickMenuItem(MenuItem("Preview"));
        EXPECT_EQ(MenuItem("Preview")->isChecked(), on);
        EXPECT_EQ(Window().BrwPNGBrowser()->isVisible(), on);
        EXPECT_EQ(Window().Combo1()->width(), Window().frameGeometry().width() - (on ? 320 : 24));
    };
    Window().picturesReadable = false;
    EXPECT_EQ(CatchMessageBoxes([&] { switchTo(false); }),
              QStringList{"Feature Not supported / information / "
                          "This feature is not supported with your version of Internet Explorer."});
    Window().picturesReadable = true;
    switchTo(true);
    EXPECT_EQ(Window().BrwPNGBrowser()->Page(), "about:blank");
    ClickRow(kPong);
    EXPECT_EQ(PaneColour(), kPongColour);
    switchTo(false);
    ClickRow(kBreakout);  // not shown while off
    EXPECT_EQ(PaneColour(), kPongColour);
    switchTo(true);  // the empty page, not the selected game's picture
    EXPECT_FALSE(PaneColour().isValid());
}

TEST_F(WindowTest, FolderChooserShowsItsInstructionAndGivesThePathWithoutSlash) {
    std::filesystem::create_directories(dir_ / "bad");
    MainWindow window(dir_.Str());
    const std::string instruction = "Please select a folder to place all bad roms.";
    const struct { std::string chosen, expected; } cases[] = {  // chosen empty: Cancel
        {(dir_ / "bad").string() + "/", (dir_ / "bad").string()}, {"/", "/"}, {"", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen);
        QTimer::singleShot(0, [&] {
            auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(chooser->parentWidget(), &window);
            EXPECT_EQ(chooser->windowTitle().toStdString(), instruction);
            EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
            if (c.chosen.empty()) return chooser->reject();
            chooser->setDirectory(QString::fromStdString(c.chosen));
            static_cast<QDialog*>(chooser)->accept();
        });
        EXPECT_EQ(window.BrowseForFolder(instruction), c.expected);
    }
}

}  // namespace
}  // namespace lorvane::test
