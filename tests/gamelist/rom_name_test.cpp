#include <gtest/gtest.h>

#include <random>

#include "rom_name.h"

namespace lorvane::Frontend_code {
namespace {

// The routine as first written, positions counted from 1, for comparison on
// the entries the list holds (those ending with "]").
std::string LoopVersion(const std::string& entry) {
    const std::size_t len = entry.size();
    std::size_t start = 0, end = 0;
    for (std::size_t i = len - 1; i >= 1; --i) {
        if (end == 0 && entry.find(']', i - 1) != std::string::npos) end = i;
        if (entry.find('[', i - 1) != std::string::npos) {
            start = i;
            break;
        }
    }
    return entry.substr(start, end - start);
}

TEST(ExtractRomName, NamesFromEntriesAndOtherText) {
    EXPECT_EQ(ExtractRomName(""), "");
    EXPECT_EQ(ExtractRomName("Pac-Man (Midway)    [pacman]"), "pacman");
    EXPECT_EQ(ExtractRomName("Pong (Rev E) [TTL]    [pong]"), "pong");
    EXPECT_EQ(ExtractRomName("Elan EU3A05/EU3A14 Common System    [elan_eu3a05commonsys]"),
              "elan_eu3a05commonsys");
    EXPECT_EQ(ExtractRomName("    [x]"), "x");
    EXPECT_EQ(ExtractRomName("[]"), "");
    // Text the list never holds: no "[", or no "]" after the last "[".
    EXPECT_EQ(ExtractRomName("no brackets"), "");
    EXPECT_EQ(ExtractRomName("x]"), "");
    EXPECT_EQ(ExtractRomName("a]b[c"), "");
    EXPECT_EQ(ExtractRomName("["), "");
    EXPECT_EQ(ExtractRomName("]"), "");
    EXPECT_EQ(ExtractRomName("a [b] c"), "b");
    EXPECT_EQ(ExtractRomName(std::string_view("\0[n\0]", 5)), std::string("n\0", 2));
}

TEST(ExtractRomName, AgreesWithTheLoopOnEveryListEntryShape) {
    std::mt19937 rng(7);
    const std::string alphabet = "ab[] \"(";
    for (int round = 0; round < 20000; ++round) {
        std::string entry;
        const int len = static_cast<int>(rng() % 12);
        for (int i = 0; i < len; ++i) entry += alphabet[rng() % alphabet.size()];
        if (rng() % 2) entry += "[" + std::string(rng() % 3, 'n');
        entry += ']';
        if (entry.find('[') == std::string::npos) continue;
        ASSERT_EQ(ExtractRomName(entry), LoopVersion(entry)) << '"' << entry << '"';
    }
}

}  // namespace
}  // namespace lorvane::Frontend_code
