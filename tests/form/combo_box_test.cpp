#include "form/combo_box.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace lorvane::form {
namespace {

using Entries = std::vector<std::string>;

// Case-insensitive order, ties by the bytes; a batch lands where one-by-one adds would put it, and
// the selected entry stays selected while others are added before it.
TEST(ComboBox, KeepsItsEntriesSortedWhicheverWayTheyAreAdded) {
    const Entries added = {"pong", "Pac-Man", "PONG", "galaga", "pac-man",
                           "1942", "Pong",    "_x",   "zaxxon"};
    ComboBox oneByOne, batch, mixed;
    for (const std::string& e : added) oneByOne.Add(e);
    batch.AddAll(added);
    EXPECT_EQ(oneByOne.Entries(), (Entries{"1942", "_x", "galaga", "Pac-Man", "pac-man", "PONG",
                                           "Pong", "pong", "zaxxon"}));
    EXPECT_EQ(batch.Entries(), oneByOne.Entries());

    mixed.AddAll(Entries{"pong", "Galaga"});
    mixed.Select(1);
    mixed.AddAll(Entries{"zaxxon", "Pong", "1942", "pong"});
    mixed.Add("Asteroids");
    EXPECT_EQ(mixed.Entries(),
              (Entries{"1942", "Asteroids", "Galaga", "Pong", "pong", "pong", "zaxxon"}));
    EXPECT_EQ(mixed.SelectedIndex(), 4)
        << "the first \"pong\" stays selected, ahead of the equal one added after it";
    EXPECT_EQ(mixed.Entry(mixed.SelectedIndex()), "pong");
}

// The sort compares the first eight folded bytes as one number before whole entries: it must
// order exactly as Less does, also where entries end within those bytes, hold a zero byte or
// bytes beyond ASCII, or differ only in case or after the eighth byte.
TEST(ComboBox, SortsExactlyAsItsOrderSays) {
    const std::string letters("aAbB \0\x7f\x80\xc3\xa9_z9", 13);
    std::mt19937 random(21);
    Entries entries = {"",         "a",         "A",         std::string("a\0", 2), "abcdefgh",
                       "ABCDEFGH", "abcdefghi", "abcdefgH1", "abcdefgh\x80",        "\xff",
                       "\x7f"};
    for (int i = 0; i < 3000; ++i) {
        std::string e(random() % 12, ' ');
        for (char& c : e) c = letters[random() % letters.size()];
        entries.push_back(e);
    }
    Entries expected = entries;
    std::stable_sort(expected.begin(), expected.end(), ComboBox::Less);
    ComboBox list;
    list.AddAll(ComboBox::Sorted(entries));
    EXPECT_EQ(list.Entries(), expected);
}

// Selecting fills the edit field, all of it selected; an index out of range selects nothing and
// leaves the field.
TEST(ComboBox, SelectingFillsTheEditFieldAndClearingEmptiesEverything) {
    ComboBox list;
    list.AddAll(Entries{"Breakout [TTL]    [breakout]", "Pong (Rev E) [TTL]    [pong]"});
    list.Select(1);
    EXPECT_EQ(list.editText, "Pong (Rev E) [TTL]    [pong]");
    EXPECT_EQ(std::pair(list.selectionStart, list.selectionLength),
              std::pair(0, static_cast<int>(list.editText.size())));
    list.editText = "typed";
    for (int outside : {-1, 2, 1000}) {
        list.Select(outside);
        EXPECT_EQ(list.SelectedIndex(), -1) << outside;
        EXPECT_EQ(list.editText, "typed") << outside;
    }
    const auto revision = list.EntriesRevision();
    list.Select(0);
    EXPECT_EQ(list.EntriesRevision(), revision) << "a selection is no change of the entries";
    list.Clear();
    EXPECT_EQ(std::tuple(list.Count(), list.SelectedIndex(), list.editText, list.selectionStart,
                         list.selectionLength),
              std::tuple(0, -1, std::string(), 0, 0));
    EXPECT_GT(list.EntriesRevision(), revision);
}

// The first entry in list order that begins with the prefix, whatever the case; no match keeps the
// selection.
TEST(ComboBox, SelectsTheFirstEntryStartingWithAPrefix) {
    ComboBox list;
    list.AddAll(Entries{"Pac-Man", "pac-land", "Pacific", "Pong", "Galaga"});
    ASSERT_EQ(list.Entries(), (Entries{"Galaga", "pac-land", "Pac-Man", "Pacific", "Pong"}));
    EXPECT_EQ(list.SelectFirstStartingWith("PAC-M"), 2);
    EXPECT_EQ(list.editText, "Pac-Man");
    EXPECT_EQ(list.SelectFirstStartingWith("pac"), 1);
    EXPECT_EQ(list.SelectFirstStartingWith("Pacx"), -1);
    EXPECT_EQ(list.SelectedIndex(), 1) << "no match leaves the selection as it was";
    EXPECT_EQ(list.SelectFirstStartingWith(""), 0);
    EXPECT_EQ(list.SelectFirstStartingWith("Pong (Rev E)"), -1)
        << "a prefix longer than every entry";
    EXPECT_EQ(ComboBox().SelectFirstStartingWith("a"), -1);
}

}  // namespace
}  // namespace lorvane::form
