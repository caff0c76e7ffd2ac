#include "mame/listing.h"

#include "platform/paths.h"

namespace lorvane::mame {
namespace {

constexpr std::string_view kEntrySeparator = "    [";

// Appends text without its double quotes.
void AppendUnquoted(std::string& out, std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t quote = text.find('"', pos);
        const std::size_t end = quote == std::string_view::npos ? text.size() : quote;
        out.append(text.data() + pos, end - pos);
        pos = end + 1;
    }
}

// Names are only ever joined to a ROM directory; these could reach past it
// (on Windows "\\" and a drive's ":" too).
// A "[" would also make the list entry give back another name.
bool IsSafeName(std::string_view name) {
    if (name.empty() || name.front() == '.') return false;
    for (const char c : name)
        if (platform::IsPathSeparator(c) || c == '\0' || c == '[' ||
            (platform::kPathSeparator == '\\' && c == ':'))
            return false;
    return true;
}

}  // namespace

bool SplitListingLine(std::string_view line, ListingLineParts& parts) {
    std::size_t begin = 0;
    while (begin < line.size() && line[begin] == ' ') ++begin;
    // The name runs to the first blank or quote, whatever its length: the
    // listing pads names to a field of its own choosing, and long names push
    // the description to the right.
    std::size_t end = begin;
    while (end < line.size() && line[end] != ' ' && line[end] != '"') ++end;
    parts.name = line.substr(begin, end - begin);
    parts.rawDescription = util::TrimSpaces(line.substr(end));
    return IsSafeName(parts.name);
}

bool ParseListingLine(std::string_view line, ListingGame& game) {
    ListingLineParts parts;
    const bool ok = SplitListingLine(line, parts);
    game.name = parts.name;
    game.description.clear();
    AppendUnquoted(game.description, parts.rawDescription);
    return ok;
}

void ForEachListingGame(std::string_view text, const std::function<void(const ListingGame&)>& fn) {
    ListingGame game;  // reused, so its description keeps its buffer
    ForEachListingLine(text, [&](std::string_view line) {
        if (ParseListingLine(line, game)) fn(game);
    });
}

std::string MakeListEntry(std::string_view description, std::string_view name) {
    std::string entry;
    entry.reserve(description.size() + kEntrySeparator.size() + name.size() + 1);
    entry.append(description).append(kEntrySeparator).append(name).push_back(']');
    return entry;
}

std::string MakeListEntryFromRaw(std::string_view rawDescription, std::string_view name) {
    std::string entry;
    entry.reserve(rawDescription.size() + kEntrySeparator.size() + name.size() + 1);
    AppendUnquoted(entry, rawDescription);
    entry.append(kEntrySeparator).append(name).push_back(']');
    return entry;
}

}  // namespace lorvane::mame
