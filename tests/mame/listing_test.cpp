#include "mame/listing.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/paths.h"

namespace lorvane::mame {
namespace {

using namespace std::literals;
using Entries = std::vector<std::string>;

// Name before the first blank or quote; "/", NUL, "[", leading "." ("\r[T") make no game; ends at a
// short line.
TEST(Listing, GamesOfAListingText) {
    const std::pair<std::string, Entries> cases[] = {
        {"H\npong   \"Pong (Rev E) [TTL]\"\nfscc6 \"Chess \"6\"\"\nabcd\"Eight\"\n   lead   \" a  "
         "b \" \nab\na.b \"D\"\n",
         {"pong|Pong (Rev E) [TTL]", "fscc6|Chess 6", "abcd|Eight", "lead| a  b ", "ab|", "a.b|D"}},
        {"H\n  \"x\"\n.h \"x\"\na/b \"x\"\nn\0l \"x\"\na[1] \"x\"\nok \"OK\"\n"s, {"ok|OK"}},
        {"H\r005 \"005\"\r\nqix \"Qix\"\r\n\r\nb \"B\"\n", {"005|005", "qix|Qix"}},
        {"H\na \"A\"\n   x   \nb \"B\"\n", {"a|A"}},
        {"\r[T", {}},
        {"H\nqix \"Qix", {"qix|Qix"}}};
    for (const auto& [text, games] : cases) {
        Entries out;
        ForEachListingGame(text, [&](const ListingGame& g) {
            out.push_back(std::string(g.name) + "|" + g.description);
        });
        EXPECT_EQ(out, games) << text;
    }
    // Windows also takes "\\" as a separator and "c:" as a drive.
    Entries out;
    ForEachListingGame("H\na\\b \"x\"\nc:x \"x\"\nok \"OK\"\n",
                       [&](const ListingGame& g) { out.push_back(std::string(g.name)); });
    EXPECT_EQ(out,
              platform::kPathSeparator == '\\' ? Entries{"ok"} : (Entries{"a\\b", "c:x", "ok"}));
}

}  // namespace
}  // namespace lorvane::mame
