#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "combo_box.h"

namespace lorvane {
namespace {

std::vector<std::string> Shuffled() {
    std::vector<std::string> v = {"pac-man    [pacman]", "Pong    [pong]", "galaga    [galaga]",
                                  "Galaxian    [galaxian]", "    [noname]", "1942    [1942]",
                                  "PAC-MAN    [puckman]", "Pong    [pong]", "zaxxon    [zaxxon]"};
    std::shuffle(v.begin(), v.end(), std::mt19937(7));
    return v;
}

TEST(ComboBox, KeepsEntriesSortedWithoutRegardToCaseWhicheverWayTheyAreAdded) {
    ComboBox one, batch, mixed;
    for (const auto& e : Shuffled()) one.AddItem(e);
    batch.AddItems(Shuffled());
    auto half = Shuffled();
    for (std::size_t i = 0; i < 4; ++i) mixed.AddItem(half[i]);
    mixed.AddItems(std::vector<std::string>(half.begin() + 4, half.end()));

    const std::vector<std::string> expected = {
        "    [noname]",        "1942    [1942]",    "galaga    [galaga]",  "Galaxian    [galaxian]",
        "pac-man    [pacman]", "PAC-MAN    [puckman]", "Pong    [pong]",    "Pong    [pong]",
        "zaxxon    [zaxxon]"};
    EXPECT_EQ(one.Entries(), expected);
    EXPECT_EQ(batch.Entries(), expected);
    EXPECT_EQ(mixed.Entries(), expected);
}

TEST(ComboBox, SelectionFollowsItsEntryAndClearingRemovesIt) {
    ComboBox list;
    list.AddItems({"b    [b]", "d    [d]"});
    list.SetListIndex(1);
    EXPECT_EQ(list.text, "d    [d]");
    EXPECT_EQ(list.selLength, static_cast<int>(list.text.size()));
    list.AddItem("a    [a]");
    list.AddItems({"c    [c]", "e    [e]"});
    ASSERT_EQ(list.ListIndex(), 3);
    EXPECT_EQ(list.List(list.ListIndex()), "d    [d]");

    const auto before = list.EntriesRevision();
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_GT(list.EntriesRevision(), before);
}

TEST(ComboBox, SelectStringFindsTheFirstEntryBeginningWithThePrefixIgnoringCase) {
    ComboBox list;
    list.AddItems({"Galaga    [galaga]", "galaxian    [galaxian]", "Gals Panic    [galpanic]",
                   "Pac-Man    [pacman]", "Pac-Land    [pacland]"});
    EXPECT_EQ(list.SelectString("GALA"), 0);
    EXPECT_EQ(list.SelectString("galax"), 1);
    EXPECT_EQ(list.text, "galaxian    [galaxian]");
    EXPECT_EQ(list.SelectString("pac-m"), 4);
    EXPECT_EQ(list.SelectString("pac-x"), -1);
    EXPECT_EQ(list.ListIndex(), 4) << "a failed search leaves the selection alone";
    EXPECT_EQ(list.SelectString("zzz"), -1);
    EXPECT_EQ(list.SelectString(""), 0);
    ComboBox empty;
    EXPECT_EQ(empty.SelectString("a"), -1);
}

}  // namespace
}  // namespace lorvane
