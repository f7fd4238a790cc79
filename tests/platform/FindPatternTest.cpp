#include "platform/FindPattern.h"

#include <gtest/gtest.h>

namespace {

TEST(FindPatternTest, MatchesAsTheWindowsFindFunctions) {
    const struct {
        const char* pattern;
        const char* name;
        bool matches;
    } cases[] = {
        {"LINE007*.ltt", "LINE007.ltt", true},
        {"LINE007*.ltt", "line007-20240411090507042.LTT", true},
        {"LINE007*.ltt", "LINE007.ltt.bak", false},
        {"LINE007*.ltt", "LINE007.lttx", false},
        {"LINE007*.ltt", "LINE00.ltt", false},
        {"HOSTEL1*.ltt", "HOSTEL10.ltt", true},
        {"HOSTEL1*.ltt", "HOSTEL1-2024.ltt", true},
        {"*.ltt", "a.b.ltt", true},
        {"*.b", "a.b.ltt", false},
        {"*", "anything.at.all", true},
        {"*", "", true},
        {"*.*", "README", true},
        {"*.*", "a.b.c", true},
        {"*.", "README", true},
        {"*.", "a.txt", false},
        {"?", "a", true},
        {"?", "ab", false},
        {"???", "ab", true},
        {"a?.txt", "a.txt", true},
        {"a?.txt", "ab.txt", true},
        {"a?.txt", "abc.txt", false},
        {"a?c", "a.c", false},
        {"exact.INI", "Exact.ini", true},
        {"exact.ini", "exact.ini2", false},
        {"**a*b*c**", "xxaxxbxxcxx", true},
        {"*a*a*a*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PLATFORM::MatchesFindPattern(c.pattern, c.name), c.matches)
            << c.pattern << " against " << c.name;
    }
}

}  // namespace
