// Choosing entries by arrow keys and by mouse runs Combo1_Click, which the
// preview pane shows; type-ahead does not.
#include <QTest>

#include "picture_pane.h"
#include "view_fixture.h"

namespace lorvane::test {
namespace {

class ListSelectionTest : public ViewTest {};

QString Q(const std::string& text) { return QString::fromStdString(text); }

TEST_F(ListSelectionTest, ArrowAndPageKeysChooseEntriesAndShowTheirPictures) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    PicturePane* pane = Window().BrwPNGBrowser();
    EXPECT_FALSE(PaneColour().isValid());  // switched on at start-up: the empty page

    Key(Qt::Key_Down);  // from no selection: the first entry
    EXPECT_EQ(List()->currentIndex().row(), kBreakout);
    EXPECT_EQ(Edit()->text(), Q(Entry(kBreakout)));
    EXPECT_EQ(Edit()->selectedText(), Q(Entry(kBreakout)));
    EXPECT_EQ(PaneColour(), kBreakoutColour);

    Key(Qt::Key_Down);  // no snapshot for this one
    EXPECT_EQ(List()->currentIndex().row(), kPacMan);
    EXPECT_EQ(pane->Page(), "about:blank");
    EXPECT_FALSE(PaneColour().isValid());

    Key(Qt::Key_PageDown);  // the list shows every entry: a page reaches the last
    EXPECT_EQ(List()->currentIndex().row(), kPuckMan);
    Key(Qt::Key_Down);  // stays at the end
    EXPECT_EQ(State().Combo1.ListIndex(), kPuckMan);
    Key(Qt::Key_PageUp);
    Key(Qt::Key_Up);
    EXPECT_EQ(List()->currentIndex().row(), kBreakout);
    EXPECT_EQ(PaneColour(), kBreakoutColour);
}

TEST_F(ListSelectionTest, MouseChoosesEntriesAndTypeAheadLeavesThePaneAlone) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    PicturePane* pane = Window().BrwPNGBrowser();

    ClickRow(kPong);
    EXPECT_EQ(Edit()->text(), Q(Entry(kPong)));
    EXPECT_EQ(State().Combo1.ListIndex(), kPong);
    EXPECT_EQ(PaneColour(), kPongColour);
    // Scaled to fit, keeping its 4:3 shape.
    const QSize room = pane->contentsRect().size();
    const QSize shown = pane->pixmap().size();
    EXPECT_EQ(shown.width(), room.width());
    EXPECT_NEAR(shown.height(), room.width() * 3 / 4, 1);

    Key(Qt::Key_A, Qt::ControlModifier);
    Type("Br");  // selects Breakout without showing its picture
    EXPECT_EQ(List()->currentIndex().row(), kBreakout);
    EXPECT_EQ(PaneColour(), kPongColour);

    ClickRow(kBreakout);  // the same entry again, by mouse
    EXPECT_EQ(PaneColour(), kBreakoutColour);
    EXPECT_EQ(Edit()->text(), Q(Entry(kBreakout)));
}

TEST_F(ListSelectionTest, DoubleClickStartsTheGameAfterTheCheck) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    DoubleClickRow(kPong);
    ASSERT_TRUE(WaitForEmulatorRuns(2));
    EXPECT_EQ(EmulatorRuns(), (std::vector<std::string>{"pong\t-verifyroms", "pong"}));
    // With the preview off the pane is never navigated.
    EXPECT_TRUE(Window().BrwPNGBrowser()->Page().isEmpty());
    EXPECT_FALSE(Window().BrwPNGBrowser()->isVisible());
}

}  // namespace
}  // namespace lorvane::test
