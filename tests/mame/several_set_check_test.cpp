#include "mame/several_set_check.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace lorvane::mame {
namespace {

using Strings = std::vector<std::string>;

// What a run over several sets says: only complete good verdict lines on asked names, judged once.
TEST(SeveralSetCheck, OnlyACompleteGoodVerdictOnAnAskedNameCounts) {
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"romset b [p] is best available\nunzip: c.zip couldn't find ECD\nromset a is "
         "good\r\nromset c is bad\n",
         "ab", true},
        {"romset a is good\nromset a is bad\nromset b is good\nromset b is good\nromset c is good",
         "", true},
        {"romset x is good\nromset a is OK\n1 romsets found, 1 were OK.\n", "", false},
        {"0 romsets found, 0 were OK.\n", "", true},
        {"romset a [] is good\nromset b [p q] is good\nromset c  is good\n romset a is "
         "good\nromset A is good\n",
         "", false},
    };
    for (const auto& [output, good, understood] : cases) {
        const SeveralSetVerdicts v = ReadSeveralSetVerdicts(output, {"a", "b", "c"});
        const std::set<std::string> sorted(v.good.begin(), v.good.end());
        EXPECT_EQ(
            std::pair(std::accumulate(sorted.begin(), sorted.end(), std::string()), v.understood),
            std::pair(good, understood))
            << output;
    }
    for (const std::string& name :
         Strings{"", "pon*", "p?ng", "-joy", "Pong", " pong", "a b", std::string(65, 'a')})
        EXPECT_FALSE(SeveralSetName(name)) << name;
    EXPECT_TRUE(SeveralSetName("elan_eu3a05commonsys"));
}

}  // namespace
}  // namespace lorvane::mame
