// The controls as created, Form_Resize at and around its thresholds, and the icon.
#include <QLineEdit>
#include <QTest>

#include "game_list_widget.h"
#include "picture_pane.h"
#include "view_fixture.h"
#include "window_icon.h"

namespace lorvane::test {
namespace {

class LayoutTest : public ViewTest {
protected:
    QRect Combo1Rect() { return Window().Combo1()->geometry(); }
    QRect PaneRect() { return Window().BrwPNGBrowser()->geometry(); }
    int ExeNameWidth() { return Window().MameExeName()->width(); }
};

TEST_F(LayoutTest, FirstLayoutTabOrderAndTheExecutableBox) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    EXPECT_EQ(Window().centralWidget()->size(), QSize(534, 318));
    EXPECT_EQ(Combo1Rect().topLeft(), QPoint(8, 28));
    EXPECT_EQ(PaneRect().size(), QSize(288, 285));

    // The first layout follows the outer size (preview on after start-up).
    const int outerWidth = Window().frameGeometry().width();
    EXPECT_EQ(Combo1Rect().width(), outerWidth - 320);
    EXPECT_EQ(PaneRect().left(), outerWidth - 304);
    EXPECT_EQ(ExeNameWidth(), outerWidth - 128);

    // Tab order: the list's edit field, the executable's name, the pane.
    EXPECT_EQ(Window().focusWidget(), Edit());
    QTest::keyClick(Edit(), Qt::Key_Tab);
    EXPECT_EQ(Window().focusWidget(), Window().MameExeName());
    QTest::keyClick(Window().MameExeName(), Qt::Key_Tab);
    EXPECT_EQ(Window().focusWidget(), Window().BrwPNGBrowser());

    // A name typed into the box is the window state's.
    Window().MameExeName()->selectAll();
    QTest::keyClicks(Window().MameExeName(), "mame2");
    EXPECT_EQ(State().MameExeName, "mame2");
}

TEST_F(LayoutTest, PreviewOnLayoutAtAndAroundTheThresholds) {
    ASSERT_NO_FATAL_FAILURE(Open(true));

    ASSERT_NO_FATAL_FAILURE(ResizeOuter(9000, 6000));
    EXPECT_EQ(Combo1Rect().size(), QSize((9000 - 4800) / 15, (6000 - 1170) / 15));
    EXPECT_EQ(PaneRect(), QRect((9000 - 4560) / 15, 28, 288, 285));
    EXPECT_EQ(ExeNameWidth(), (9000 - 1920) / 15);

    ASSERT_NO_FATAL_FAILURE(ResizeOuter(4800, 6000));  // exactly at the width threshold
    EXPECT_EQ(Combo1Rect().width(), 0);
    EXPECT_EQ(PaneRect().left(), 240 / 15);

    ASSERT_NO_FATAL_FAILURE(ResizeOuter(9000, 6000));
    ASSERT_NO_FATAL_FAILURE(ResizeOuter(4785, 4500));  // one pixel narrower: nothing changes
    EXPECT_EQ(Combo1Rect().size(), QSize((9000 - 4800) / 15, (6000 - 1170) / 15));
    EXPECT_EQ(PaneRect().left(), (9000 - 4560) / 15);

    ASSERT_NO_FATAL_FAILURE(ResizeOuter(7500, 1170));  // exactly at the height threshold
    EXPECT_EQ(Combo1Rect().size(), QSize((7500 - 4800) / 15, 0));

    ASSERT_NO_FATAL_FAILURE(ResizeOuter(9000, 1155));  // one pixel lower: nothing changes
    EXPECT_EQ(Combo1Rect().size(), QSize((7500 - 4800) / 15, 0));
    EXPECT_EQ(PaneRect().left(), (7500 - 4560) / 15);
}

TEST_F(LayoutTest, PreviewOffLayoutLeavesTheHiddenPaneWhereItWas) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    const int paneLeft = PaneRect().left();
    EXPECT_FALSE(Window().BrwPNGBrowser()->isVisible());

    ASSERT_NO_FATAL_FAILURE(ResizeOuter(9000, 6000));
    EXPECT_EQ(Combo1Rect().size(), QSize((9000 - 360) / 15, (6000 - 1170) / 15));
    EXPECT_EQ(ExeNameWidth(), (9000 - 1920) / 15);
    EXPECT_EQ(PaneRect().left(), paneLeft);

    ASSERT_NO_FATAL_FAILURE(ResizeOuter(4800, 1170));
    EXPECT_EQ(Combo1Rect().size(), QSize((4800 - 360) / 15, 0));
    ASSERT_NO_FATAL_FAILURE(ResizeOuter(4785, 3000));
    EXPECT_EQ(Combo1Rect().size(), QSize((4800 - 360) / 15, 0));
}

TEST(WindowIconTest, PyramidInSixteenColoursOnTransparency) {
    for (const int size : {32, 16}) {
        const QImage image = PyramidImage(size);
        SCOPED_TRACE(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.format(), QImage::Format_Indexed8);
        EXPECT_LE(image.colorCount(), 17);
        const auto at = [&](double x, double y) { return image.pixelColor(int(x * size / 32), int(y * size / 32)); };
        EXPECT_EQ(at(0, 0).alpha(), 0);
        EXPECT_EQ(at(31, 2).alpha(), 0);
        EXPECT_EQ(at(12, 20), QColor(192, 192, 192));  // left face
        EXPECT_EQ(at(24, 20), QColor(0, 0, 0));        // right face
        EXPECT_EQ(at(16, 27), QColor(128, 128, 128));  // the strip along the base
    }
    const QList<QSize> sizes = WindowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
}

}  // namespace
}  // namespace lorvane::test
