#include "reportframe/ReportRows.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> RowsOf(const ReportRows& rows) {
    std::vector<std::string> seen;
    rows.ForEach([&seen](std::string_view row) { seen.emplace_back(row); });
    return seen;
}

TEST(ReportRowsTest, ComeOutByKeyWithEqualKeysInTheOrderAdded) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> added;
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
    for (const auto& c : cases) {
        ReportRows rows;
        for (const auto& [key, row] : c.added) rows.Add(key, row);
        EXPECT_EQ(rows.Count(), c.added.size()) << c.what;
        EXPECT_EQ(RowsOf(rows), c.expected) << c.what;
        // A second visit sees the same.
        EXPECT_EQ(RowsOf(rows), c.expected) << c.what;
    }
}

TEST(ReportRowsTest, RowsAddedAfterAVisitTakeTheirPlace) {
    ReportRows rows;
    rows.Add("2", "second");
    rows.Add("1", "first");
    EXPECT_EQ(RowsOf(rows), (std::vector<std::string>{"first", "second"}));
    rows.Add("1", "also first");
    rows.Add("3", "third");
    EXPECT_EQ(RowsOf(rows), (std::vector<std::string>{"first", "also first", "second", "third"}));
}

TEST(ReportRowsTest, KeepsManyRowsOfEverySizeWhole) {
    // Small rows share the arena's chunks; a row longer than a chunk block
    // is kept on its own. Every byte comes back as it went in.
    ReportRows rows;
    std::vector<std::string> expected;
    for (int i = 0; i < 5000; ++i) {
        const std::size_t size = i % 1000 == 999 ? 200000 + i : static_cast<std::size_t>(i % 300);
        std::string row(size, static_cast<char>('a' + i % 26));
        if (!row.empty()) row.front() = static_cast<char>('0' + i % 10);
        const std::string key = std::to_string(100000 + (i * 7919) % 700);
        rows.Add(key, row);
        expected.push_back(key + '\t' + row);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const std::string& a, const std::string& b) {
                         return a.substr(0, a.find('\t')) < b.substr(0, b.find('\t'));
                     });
    std::vector<std::string> seen = RowsOf(rows);
    ASSERT_EQ(seen.size(), expected.size());
    for (std::size_t i = 0; i < seen.size(); ++i) {
        ASSERT_EQ(seen[i], expected[i].substr(expected[i].find('\t') + 1)) << i;
    }
}

}  // namespace
