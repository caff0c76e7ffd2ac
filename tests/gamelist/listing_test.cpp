#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing.h"

namespace lorvane {
namespace {

using namespace std::literals;

// "name|description" for every game of a listing text.
std::vector<std::string> Games(std::string_view text) {
    std::vector<std::string> out;
    ForEachListingGame(text, [&](const ListingGame& g) {
        out.push_back(std::string(g.name) + "|" + g.description);
    });
    return out;
}

using Lines = std::vector<std::string>;

TEST(Listing, LinesOfTheEmulatorsLayout) {
    ListingGame g;
    ASSERT_TRUE(ParseListingLine(R"L(pong              "Pong (Rev E) [TTL]")L", g));
    EXPECT_EQ(g.name, "pong");
    EXPECT_EQ(g.description, "Pong (Rev E) [TTL]");
    EXPECT_EQ(MakeListEntry(g.description, g.name), "Pong (Rev E) [TTL]    [pong]");

    // Names of 17 characters or more are followed by one blank only.
    ASSERT_TRUE(ParseListingLine(R"L(elan_eu3a05commonsys "Elan EU3A05/EU3A14 Common System")L", g));
    EXPECT_EQ(g.name, "elan_eu3a05commonsys");
    EXPECT_EQ(g.description, "Elan EU3A05/EU3A14 Common System");

    // Quotes inside the description go, like the enclosing ones.
    ASSERT_TRUE(ParseListingLine(R"L(fscc6             "Sensory Chess Challenger "6"")L", g));
    EXPECT_EQ(g.description, "Sensory Chess Challenger 6");
    EXPECT_EQ(MakeListEntryFromRaw(R"L("Sensory Chess Challenger "6"")L", "fscc6"),
              "Sensory Chess Challenger 6    [fscc6]");

    // The old layout, names padded to 8 columns or touching the quote.
    ASSERT_TRUE(ParseListingLine(R"L(pacman  "Pac-Man (Midway)")L", g));
    EXPECT_EQ(g.name, "pacman");
    EXPECT_EQ(g.description, "Pac-Man (Midway)");
    ASSERT_TRUE(ParseListingLine(R"L(abcdefgh"Eight")L", g));
    EXPECT_EQ(g.name, "abcdefgh");
    EXPECT_EQ(g.description, "Eight");

    // Leading blanks, a name with no description, blanks kept inside quotes.
    ASSERT_TRUE(ParseListingLine(R"L(   lead   " a  b " )L", g));
    EXPECT_EQ(g.name, "lead");
    EXPECT_EQ(g.description, " a  b ");
    ASSERT_TRUE(ParseListingLine("bare", g));
    EXPECT_EQ(g.description, "");
    EXPECT_EQ(MakeListEntry("", "bare"), "    [bare]");
}

TEST(Listing, NamesThatAreNoGame) {
    ListingGame g;
    EXPECT_FALSE(ParseListingLine(R"L(   "No name")L", g));
    EXPECT_FALSE(ParseListingLine(R"L(../evil          "Outside")L", g));
    EXPECT_FALSE(ParseListingLine(R"L(..               "Parent")L", g));
    EXPECT_FALSE(ParseListingLine(R"L(.hidden          "Hidden")L", g));
    EXPECT_FALSE(ParseListingLine(R"L(a/b              "Below")L", g));
    EXPECT_FALSE(ParseListingLine("nu\0l \"Nul\""sv, g));
    // ExtractRomName would give back "TTL" from the entry of "[TTL]".
    EXPECT_FALSE(ParseListingLine(R"L(   [TTL]"  "Pong")L", g));
    EXPECT_FALSE(ParseListingLine(R"L(a[1]             "Bracket")L", g));
    EXPECT_TRUE(ParseListingLine(R"L(a.b              "Dot inside")L", g));
}

TEST(Listing, WholeTextsWithEveryLineEnd) {
    const Lines expected = {"005|005", "pong|Pong (Rev E) [TTL]", "fscc6|Sensory Chess Challenger 6"};
    const std::string body[] = {"Name:             Description:", R"L(005               "005")L",
                                R"L(pong              "Pong (Rev E) [TTL]")L",
                                R"L(fscc6             "Sensory Chess Challenger "6"")L"};
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        std::string text;
        for (const auto& line : body) text += line + eol;
        EXPECT_EQ(Games(text), expected) << "line end " << (eol == "\n" ? "LF" : eol == "\r" ? "CR" : "CRLF");
        // As the data file stores it: one more line end after the listing.
        EXPECT_EQ(Games(text + "\r\n"), expected);
        // No line end after the last game.
        EXPECT_EQ(Games(text.substr(0, text.size() - eol.size())), expected);
    }
    // Old 8-column lines read the same as the emulator's wider ones.
    EXPECT_EQ(Games("Name:     Description:\n005     \"005\"\npong    \"Pong (Rev E) [TTL]\"\n"
                    "fscc6   \"Sensory Chess Challenger \"6\"\"\n"),
              expected);
}

TEST(Listing, WhereTheListEnds) {
    EXPECT_EQ(Games(""), Lines{});
    EXPECT_EQ(Games("Name:             Description:\n"), Lines{});
    EXPECT_EQ(Games("Name:             Description:"), Lines{});
    // Skipped as the header even when it looks like a game.
    EXPECT_EQ(Games("pong \"Pong\"\nbreakout \"Breakout\"\n"), Lines{"breakout|Breakout"});
    // A line of fewer than two characters once trimmed ends the list.
    EXPECT_EQ(Games("H\na \"A\"\n\nb \"B\"\n"), Lines{"a|A"});
    EXPECT_EQ(Games("H\na \"A\"\n   x   \nb \"B\"\n"), Lines{"a|A"});
    EXPECT_EQ(Games("H\n\na \"A\"\n"), Lines{});
    // Two characters are enough to go on; a line without a name is passed over.
    EXPECT_EQ(Games("H\nab\n  \"q\"\nc \"C\"\n"), (Lines{"ab|", "c|C"}));
    // Error text in place of a listing: its first line is the header.
    EXPECT_EQ(Games("sh: mame: not found\nError: nothing\n"), Lines{"Error:|nothing"});
}

}  // namespace
}  // namespace lorvane
