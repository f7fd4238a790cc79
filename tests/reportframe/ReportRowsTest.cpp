#include "reportframe/ReportRows.h"

#include <algorithm>
#include <cstddef>
#include <memory_resource>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> LinesInOrder(ReportRows rows) {
    PutInKeyOrder(rows);
    std::vector<std::string> lines;
    for (const ReportRow& row : rows) lines.emplace_back(row.line);
    return lines;
}

TEST(ReportRowsTest, ComeOutByKeyWithEqualKeysInTheOrderAdded) {
    const struct {
        const char* what;
        ReportRows added;
        std::vector<std::string> expected;
    } cases[] = {
        {"none", {}, {}},
        {"in key order", {{"a", "1"}, {"b", "2"}, {"c", "3"}}, {"1", "2", "3"}},
        {"reversed", {{"c", "3"}, {"b", "2"}, {"a", "1"}}, {"1", "2", "3"}},
        {"equal keys among others",
         {{"b", "b1"}, {"a", "a1"}, {"b", "b2"}, {"a", "a2"}, {"b", "b3"}},
         {"a1", "a2", "b1", "b2", "b3"}},
        // A key that is the start of another comes first, and an empty key
        // or row is a row like any other.
        {"prefixes and empty texts",
         {{"ab", "x"}, {"a", ""}, {"", "empty key"}, {"a", "y"}},
         {"empty key", "", "y", "x"}},
    };
    for (const auto& c : cases) EXPECT_EQ(LinesInOrder(c.added), c.expected) << c.what;
}

TEST(ReportRowsTest, EqualKeysKeepTheirOrderAmongManyRows) {
    // Enough rows, and rows long enough, that an ordering which is not
    // stable would move equal keys about.
    // The texts are copies: the ones they were made from are gone by the
    // time the rows are read.
    std::pmr::monotonic_buffer_resource text;
    ReportRows rows;
    std::vector<std::pair<std::string, std::string>> expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string key = std::to_string(100000 + (i * 7919) % 700);
        std::string line(static_cast<std::size_t>(i % 300), static_cast<char>('a' + i % 26));
        line += std::to_string(i);
        AddRow(rows, text, key, line);
        expected.emplace_back(key, line);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const std::vector<std::string> seen = LinesInOrder(rows);
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], expected[i].second) << i;
}

}  // namespace
