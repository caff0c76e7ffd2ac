#pragma once
// Reading the game data file: a header line, then one line per game (short
// name, blanks, quoted description), ending at the first line holding fewer than
// two characters once blanks are trimmed.
#include <functional>
#include <string>
#include <string_view>

#include "util/text.h"

namespace lorvane::mame {

struct ListingGame {
    std::string_view name;    // text before the first blank or double quote
    std::string description;  // the rest, trimmed, double quotes removed
};

// A game line split without copying: the name, and the description trimmed of
// blanks but still holding its double quotes.
struct ListingLineParts {
    std::string_view name;
    std::string_view rawDescription;
};

// Splits one game line; false for a line that is not a game: an empty name, one
// that could name a file outside the ROM directory ("/", NUL, leading "."), or
// one holding "[", which its list entry could not give back.
bool SplitListingLine(std::string_view line, ListingLineParts& parts);

// Parses one game line; false for a line that is not a game (see SplitListingLine).
bool ParseListingLine(std::string_view line, ListingGame& game);

// Calls fn(line) for every line of the list: the header is skipped, and the
// list ends at the first line holding fewer than two characters once trimmed.
template <typename Fn>
void ForEachListingLine(std::string_view text, Fn&& fn) {
    bool header = true;
    util::ForEachLine(text, [&](std::string_view line) {
        if (header) {
            header = false;
            return true;
        }
        if (util::TrimSpaces(line).size() < 2) return false;
        fn(line);
        return true;
    });
}

// Calls fn for every game of the listing text, in order, until the list ends.
void ForEachListingGame(std::string_view text, const std::function<void(const ListingGame&)>& fn);

// The list entry: description + "    [" + name + "]".
std::string MakeListEntry(std::string_view description, std::string_view name);
// The same entry from a description still holding its double quotes.
std::string MakeListEntryFromRaw(std::string_view rawDescription, std::string_view name);

}  // namespace lorvane::mame
