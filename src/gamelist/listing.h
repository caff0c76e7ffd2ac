#pragma once
// Reading the game data file: a header line, then one line per game (short
// name, blanks, quoted description), ending at the first line holding fewer than
// two characters once blanks are trimmed.
#include <functional>
#include <string>
#include <string_view>

namespace lorvane {

struct ListingGame {
    std::string_view name;         // text before the first blank or double quote
    std::string description;       // the rest, trimmed, double quotes removed
};

// Parses one game line; false for a line that is not a game (empty name).
bool ParseListingLine(std::string_view line, ListingGame& game);

// Calls fn for every game of the listing text, in order, until the list ends.
void ForEachListingGame(std::string_view text, const std::function<void(const ListingGame&)>& fn);

// The list entry: description + "    [" + name + "]".
std::string MakeListEntry(std::string_view description, std::string_view name);

}  // namespace lorvane
