// Typing into the list's edit field, and Enter, with real key events.
#include <QTest>

#include "view_fixture.h"

namespace lorvane::test {
namespace {

class TypeAheadTest : public ViewTest {};

QString Q(const std::string& text) { return QString::fromStdString(text); }

TEST_F(TypeAheadTest, CompletesPrefixesAndKeepsWhatMatchesNothing) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    const ComboBox& list = State().Combo1;

    Type("p");  // the first entry beginning with "p", the rest selected
    EXPECT_EQ(Edit()->text(), Q(Entry(kPacMan)));
    EXPECT_EQ(Edit()->selectionStart(), 1);
    EXPECT_EQ(Edit()->selectedText(), Q(Entry(kPacMan)).mid(1));
    EXPECT_EQ(List()->currentIndex().row(), kPacMan);

    Type("u");  // replaces the completed part
    EXPECT_EQ(Edit()->text(), Q(Entry(kPuckMan)));
    EXPECT_EQ(Edit()->selectedText(), Q(Entry(kPuckMan)).mid(2));
    EXPECT_EQ(List()->currentIndex().row(), kPuckMan);
    EXPECT_TRUE(List()->selectionModel()->isRowSelected(kPuckMan));

    Key(Qt::Key_Backspace);  // removes the completion, completes nothing
    EXPECT_EQ(Edit()->text(), "Pu");
    EXPECT_FALSE(Edit()->hasSelectedText());
    EXPECT_EQ(list.text, "Pu");
    EXPECT_EQ(list.selStart, 2);
    EXPECT_EQ(list.selLength, 0);

    Type("z");  // matches nothing: exactly the typed text, caret at the end, nothing selected
    EXPECT_EQ(Edit()->text(), "Puz");
    EXPECT_EQ(Edit()->cursorPosition(), 3);
    EXPECT_FALSE(Edit()->hasSelectedText());
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_FALSE(List()->currentIndex().isValid());
    EXPECT_FALSE(List()->selectionModel()->hasSelection());

    Key(Qt::Key_Home);  // caret at the start, no selection: typing still appends
    Type("x");
    EXPECT_EQ(Edit()->text(), "Puzx");
    EXPECT_EQ(Edit()->cursorPosition(), 4);
}

TEST_F(TypeAheadTest, CountsPositionsInCharactersNotBytes) {
    ASSERT_NO_FATAL_FAILURE(Open(true));
    const QString pokemon = Q(Entry(kPokemon));

    Type("Pok");
    EXPECT_EQ(Edit()->text(), pokemon);
    EXPECT_EQ(Edit()->selectionStart(), 3);
    EXPECT_EQ(Edit()->selectedText(), pokemon.mid(3));

    Type(QString::fromUtf8("\xc3\xa9"));  // one character, two bytes
    EXPECT_EQ(Edit()->text(), pokemon);
    EXPECT_EQ(Edit()->selectionStart(), 4);
    EXPECT_EQ(Edit()->selectedText(), pokemon.mid(4));
    EXPECT_EQ(State().Combo1.selStart, 5);

    Key(Qt::Key_A, Qt::ControlModifier);  // the field's own select-all, then a new search
    Type("B");
    EXPECT_EQ(Edit()->text(), Q(Entry(kBreakout)));
    EXPECT_EQ(List()->currentIndex().row(), kBreakout);
}

TEST_F(TypeAheadTest, EnterStartsTheSelectedGameAfterTheCheck) {
    ASSERT_NO_FATAL_FAILURE(Open(true));

    Type("Pon");
    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitForEmulatorRuns(2));
    EXPECT_EQ(EmulatorRuns(), (std::vector<std::string>{"pong\t-verifyroms", "pong"}));

    // A set that fails the check: its report, and no start.
    std::vector<CaughtBox> boxes = CatchMessageBoxes([&] {
        Key(Qt::Key_A, Qt::ControlModifier);
        Type("Pa");
        Key(Qt::Key_Enter);
    });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Rom Error Info");
    EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
    EXPECT_TRUE(boxes[0].text.contains("romset \"pacman\" not found!")) << boxes[0].text.toStdString();
    EXPECT_EQ(EmulatorRuns().size(), 3u);

    // Nothing selected: Enter starts nothing and asks nothing.
    boxes = CatchMessageBoxes([&] {
        Type("zz");
        Key(Qt::Key_Return);
    });
    EXPECT_TRUE(boxes.empty());
    QTest::qWait(200);
    EXPECT_EQ(EmulatorRuns().size(), 3u);
}

}  // namespace
}  // namespace lorvane::test
