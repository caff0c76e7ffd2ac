#include "listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lorvane {
namespace {

using namespace std::literals;
using Lines = std::vector<std::string>;

Lines Games(std::string_view text) {
    Lines out;
    ForEachListingGame(text, [&](const ListingGame& g) { out.push_back(std::string(g.name) + "|" + g.description); });
    return out;
}

// How a line splits into name and description, which names are no game (they
// could leave the ROM directory, or their entry would give back another name),
// and where the list ends: any line end, header skipped, a line under two
// characters once trimmed.
TEST(Listing, GamesOfAListingText) {
    const std::pair<std::string, Lines> cases[] = {
        {"H\npong              \"Pong (Rev E) [TTL]\"\nfscc6 \"Chess \"6\"\"\nabcdefgh\"Eight\"\n   lead   \" a  b \" \n"
         "bare\na.b \"Dot\"\n",
         {"pong|Pong (Rev E) [TTL]", "fscc6|Chess 6", "abcdefgh|Eight", "lead| a  b ", "bare|", "a.b|Dot"}},
        {"H\n  \"x\"\n.h \"x\"\na/b \"x\"\nn\0l \"x\"\na[1] \"x\"\nok \"OK\"\n"s, {"ok|OK"}},
        {"", {}},
        {"H\r005 \"005\"\rqix \"Qix\"", {"005|005", "qix|Qix"}},
        {"H\r\n005 \"005\"\r\nqix \"Qix\"\r\n\r\n", {"005|005", "qix|Qix"}},
        {"pong \"Pong\"\nbreakout \"Breakout\"\n", {"breakout|Breakout"}},
        {"H\na \"A\"\n\nb \"B\"\n", {"a|A"}},
        {"H\na \"A\"\n   x   \nb \"B\"\n", {"a|A"}},
        {"H\nab\nc \"C\"\n", {"ab|", "c|C"}},
        {"\r[T", {}},
        {"H\nqix \"Qix", {"qix|Qix"}},
        {"sh: mame: not found\nError: nothing\n", {"Error:|nothing"}},
    };
    for (const auto& [text, games] : cases) EXPECT_EQ(Games(text), games) << text;
}

}  // namespace
}  // namespace lorvane
