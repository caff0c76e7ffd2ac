// The game list driven by real key and mouse events: type-ahead, choosing
// entries (which runs Combo1_Click and so the preview), starting a game.
#include "view_fixture.h"

namespace lorvane::test {
namespace {

constexpr int kAnyRow = -2;

class ListTest : public ViewTest {
protected:
    // The edit field holds text; from start on it is either selected to the end
    // (a completion) or the caret with nothing selected. The model agrees, in bytes.
    void Shows(const QString& text, int start, bool completed, int row) {
        EXPECT_EQ(Edit()->text(), text);
        EXPECT_EQ(Edit()->hasSelectedText() ? Edit()->selectionStart() : Edit()->cursorPosition(), start);
        EXPECT_EQ(Edit()->selectedText(), completed ? text.mid(start) : QString());
        const ComboBox& list = State().Combo1;
        EXPECT_EQ(list.text, text.toStdString());
        EXPECT_EQ(list.selStart, text.left(start).toUtf8().size());
        EXPECT_EQ(list.selLength, completed ? text.mid(start).toUtf8().size() : 0);
        if (row == kAnyRow) return;
        EXPECT_EQ(list.ListIndex(), row);
        EXPECT_EQ(List()->currentIndex().row(), row);
        EXPECT_EQ(List()->selectionModel()->selectedIndexes().value(0).row(), row);
    }
};

TEST_F(ListTest, TypeAheadCompletesPrefixesInAnyCaseAndKeepsWhatMatchesNothing) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    // A key pressed before typing; then what the field shows, as in Shows.
    const struct { QKeySequence key; const char* typed; QString text; int start; bool completed; int row; } steps[] = {
        {{}, "p", Entry(kPacMan), 1, true, kPacMan},        // the first entry beginning with "p", the rest selected
        {{}, "u", Entry(kPuckMan), 2, true, kPuckMan},      // replaces the completed part
        {Qt::Key_Backspace, "", "Pu", 2, false, kAnyRow},  // removes the completion, completes nothing
        {{}, "z", "Puz", 3, false, -1},
        {Qt::Key_Home, "x", "Puzx", 4, false, -1},  // caret at the start, no selection: typing still appends
        {QKeySequence::SelectAll, "Pok", Entry(kPokemon), 3, true, kPokemon},  // the field's own, then a new search
        {{}, "\xc3\xa9", Entry(kPokemon), 4, true, kPokemon},                   // one character, two bytes
        {Qt::Key_End, "", Entry(kPokemon), int(Entry(kPokemon).size()), false, kAnyRow},  // the field's own move
        {QKeySequence::SelectAll, "B", Entry(kBreakout), 1, true, kBreakout},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.typed);
        if (!step.key.isEmpty()) QTest::keySequence(Edit(), step.key);
        Type(step.typed);
        Shows(step.text, step.start, step.completed, step.row);
    }
}

TEST_F(ListTest, ArrowKeysAndClicksChooseEntriesAndShowTheirPicturesTypeAheadDoesNot) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    EXPECT_FALSE(PaneColour().isValid());  // switched on at start-up: the empty page
    const struct { Qt::Key key; Row row; QColor colour; } steps[] = {  // from no selection: the first entry
        {Qt::Key_Down, kBreakout, kBreakoutColour}, {Qt::Key_Down, kPacMan, QColor()},  // this one has no snapshot
        {Qt::Key_PageDown, kPuckMan, QColor()}, {Qt::Key_Down, kPuckMan, QColor()},  // a page reaches the end, stays
        {Qt::Key_PageUp, kBreakout, kBreakoutColour}, {Qt::Key_Up, kBreakout, kBreakoutColour}};
    for (const auto& step : steps) {
        SCOPED_TRACE(QKeySequence(step.key).toString().toStdString());
        Key(step.key);
        Shows(Entry(step.row), 0, true, step.row);
        EXPECT_EQ(PaneColour(), step.colour);
    }

    ClickRow(kPong);
    Shows(Entry(kPong), 0, true, kPong);
    EXPECT_EQ(PaneColour(), kPongColour);
    const QSize room = Window().BrwPNGBrowser()->contentsRect().size();  // scaled to fit, keeping its 4:3 shape
    EXPECT_EQ(Window().BrwPNGBrowser()->pixmap().size(), QSize(room.width(), room.width() * 3 / 4));

    Key(Qt::Key_A, Qt::ControlModifier);
    Type("Br");
    Shows(Entry(kBreakout), 2, true, kBreakout);
    EXPECT_EQ(PaneColour(), kPongColour);
    ClickRow(kBreakout);  // the same entry again, by mouse
    EXPECT_EQ(PaneColour(), kBreakoutColour);
}

TEST_F(ListTest, DoubleClickAndEnterStartTheGameAfterTheCheck) {
    ASSERT_NO_FATAL_FAILURE(Open(false));
    ClickRow(kPong, true);
    EXPECT_TRUE(RunsBecome("pong\t-verifyroms\npong\n")) << Runs();
    EXPECT_TRUE(Window().BrwPNGBrowser()->Page().isEmpty()) << "the preview is off";

    // A set that fails the check: its report, and no start. Nothing selected: nothing at all.
    EXPECT_EQ(CatchMessageBoxes([&] {
                  Type("Pa");
                  Key(Qt::Key_Enter);
                  Key(Qt::Key_A, Qt::ControlModifier);
                  Type("zz");
                  Key(Qt::Key_Return);
                  QTest::qWait(200);
              }),
              QStringList{"Rom Error Info / information / romset \"pacman\" not found!\n"});
    Key(Qt::Key_A, Qt::ControlModifier);
    Type("Pon");
    Key(Qt::Key_Return);
    EXPECT_TRUE(RunsBecome("pong\t-verifyroms\npong\npacman\t-verifyroms\npong\t-verifyroms\npong\n")) << Runs();
}

}  // namespace
}  // namespace lorvane::test
