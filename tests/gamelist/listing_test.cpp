// The game data file's lines, and the list entries made from them.
#include "listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rom_name.h"

namespace lorvane {
namespace {

using namespace std::literals;
using Lines = std::vector<std::string>;

// "name|description" for every game of a listing text.
Lines Games(std::string_view text) {
    Lines out;
    ForEachListingGame(text, [&](const ListingGame& g) { out.push_back(std::string(g.name) + "|" + g.description); });
    return out;
}

TEST(Listing, GameLinesAndTheirEntries) {
    const struct {
        std::string_view line;
        const char* entry;  // "" for a line that is no game
    } cases[] = {
        {R"L(pong              "Pong (Rev E) [TTL]")L", "Pong (Rev E) [TTL]    [pong]"},
        // Names of 17 characters or more are followed by one blank only.
        {R"L(elan_eu3a05commonsys "Elan EU3A05/EU3A14 Common System")L",
         "Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]"},
        // Quotes inside the description go, like the enclosing ones.
        {R"L(fscc6             "Sensory Chess Challenger "6"")L", "Sensory Chess Challenger 6    [fscc6]"},
        // The old layout, names padded to 8 columns or touching the quote.
        {R"L(pacman  "Pac-Man (Midway)")L", "Pac-Man (Midway)    [pacman]"},
        {R"L(abcdefgh"Eight")L", "Eight    [abcdefgh]"},
        {R"L(   lead   " a  b " )L", " a  b     [lead]"},
        {"bare", "    [bare]"},
        {R"L(a.b              "Dot inside")L", "Dot inside    [a.b]"},
        // Names that could reach outside the ROM directory, or whose entry
        // would give back another name ("[TTL]" would give "TTL").
        {R"L(   "No name")L", ""},
        {R"L(../evil          "Outside")L", ""},
        {R"L(.hidden          "Hidden")L", ""},
        {R"L(a/b              "Below")L", ""},
        {"nu\0l \"Nul\""sv, ""},
        {R"L(   [TTL]"  "Pong")L", ""},
        {R"L(a[1]             "Bracket")L", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ListingGame g;
        ListingLineParts parts;
        const bool game = ParseListingLine(c.line, g);
        EXPECT_EQ(SplitListingLine(c.line, parts), game);
        EXPECT_EQ(game ? MakeListEntry(g.description, g.name) : "", c.entry);
        if (!game) continue;
        EXPECT_EQ(MakeListEntryFromRaw(parts.rawDescription, parts.name), c.entry);
        EXPECT_EQ(Frontend_code::ExtractRomName(c.entry), g.name);
    }
}

TEST(Listing, WholeTextsAndWhereTheListEnds) {
    const Lines three = {"005|005", "pong|Pong (Rev E) [TTL]", "fscc6|Sensory Chess Challenger 6"};
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(eol == "\n" ? "LF" : eol == "\r" ? "CR" : "CRLF");
        std::string text;
        for (const char* line : {"Name:             Description:", R"L(005               "005")L",
                                 R"L(pong              "Pong (Rev E) [TTL]")L",
                                 R"L(fscc6             "Sensory Chess Challenger "6"")L"})
            text += line + eol;
        EXPECT_EQ(Games(text), three);
        EXPECT_EQ(Games(text + "\r\n"), three);  // as the data file stores it
        EXPECT_EQ(Games(text.substr(0, text.size() - eol.size())), three);
    }
    const std::pair<const char*, Lines> cases[] = {
        {"", {}},
        {"Name:             Description:", {}},
        {"pong \"Pong\"\nbreakout \"Breakout\"\n", {"breakout|Breakout"}},  // the header, even as a game
        // A line of fewer than two characters once trimmed ends the list.
        {"H\na \"A\"\n\nb \"B\"\n", {"a|A"}},
        {"H\na \"A\"\n   x   \nb \"B\"\n", {"a|A"}},
        {"H\n\na \"A\"\n", {}},
        // Two characters are enough to go on; a line without a name is passed over.
        {"H\nab\n  \"q\"\nc \"C\"\n", {"ab|", "c|C"}},
        {"\r[T", {}},
        {"H\nqix \"Qix", {"qix|Qix"}},
        // Error text in place of a listing: its first line is the header.
        {"sh: mame: not found\nError: nothing\n", {"Error:|nothing"}},
    };
    for (const auto& [text, games] : cases) EXPECT_EQ(Games(text), games) << text;
}

TEST(ExtractRomName, TakesTheTextBetweenTheLastBrackets) {
    EXPECT_EQ(Frontend_code::ExtractRomName("a [b] c"), "b");
    EXPECT_EQ(Frontend_code::ExtractRomName("\0[n\0]"sv), "n\0"sv);
    // Text the list never holds (no "[", or no "]" after the last "[") gives no name rather than a guess.
    for (const char* text : {"[]", "", "no brackets", "x]", "a]b[c", "["})
        EXPECT_EQ(Frontend_code::ExtractRomName(text), "") << text;
}

}  // namespace
}  // namespace lorvane
