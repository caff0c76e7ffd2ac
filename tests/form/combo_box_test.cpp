#include "form/combo_box.h"

#include <gtest/gtest.h>

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
