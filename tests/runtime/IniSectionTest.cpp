#include "runtime/IniSection.h"

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

using Entries = std::map<std::string, std::string>;

Entries Parse(const std::string& list) {
    std::vector<char> buffer(4096, '\0');
    std::copy(list.begin(), list.end(), buffer.begin());
    Entries entries;
    ParseIniSection(entries, buffer.data());
    return entries;
}

TEST(ParseIniSection, SplitsEntriesAtTheirFirstEquals) {
    struct Case {
        const char* what;
        std::string list;
        Entries expected;
    } const cases[] = {
        {"one character ignored", std::string("x\0ab\0", 5), {{"ab", ""}}},
        {"split at the first =", std::string("a=b=c\0", 6), {{"a", "b=c"}}},
        {"empty value", std::string("k=\0", 3), {{"k", ""}}},
        {"empty key", std::string("=v\0", 3), {{"", "v"}}},
        {"first of a key wins", std::string("k=1\0k=2\0", 8), {{"k", "1"}}},
        {"nothing trimmed, case kept", std::string(" Room = A \0", 11), {{" Room ", " A "}}},
        {"ends at a double NUL", std::string("a=1\0\0b=2\0", 9), {{"a", "1"}}},
        {"empty buffer", std::string(), {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parse(c.list), c.expected) << c.what;
    }
}

TEST(ParseIniSection, LooksAtNoMoreThan4096Characters) {
    // A buffer of 4096 characters with no closing NUL: the last text never
    // ends and is dropped, and nothing past the buffer is read.
    std::string list = std::string("a=1") + '\0';
    list += std::string(4096 - list.size(), 'z');
    Entries entries;
    ParseIniSection(entries, list.data());
    EXPECT_EQ(entries, (Entries{{"a", "1"}}));
}

TEST(ReadIniSectionKeys, ListsTheKeysOfASectionUpToTheBufferCut) {
    TESTSUPPORT::TempDir dir;
    std::string text = "[Strings]\nRoom=Chambre\nflag\n[Other]\nx=1\n[Big]\n";
    std::vector<std::string> keys;
    std::size_t listed = 0;
    for (int i = 0; listed < 6000; ++i) {
        keys.push_back("Label" + std::to_string(1000 + i));
        const std::string entry = keys.back() + "=Text " + std::to_string(i);
        text += entry + "\n";
        listed += entry.size() + 1;
    }
    const std::string file = dir.Write("labels.ini", text);

    EXPECT_EQ(ReadIniSectionKeys(file, "strings"), (std::set<std::string>{"Room", "flag"}));
    EXPECT_TRUE(ReadIniSectionKeys(file, "Missing").empty());
    EXPECT_TRUE(ReadIniSectionKeys(dir.File("absent.ini"), "Strings").empty());

    const std::set<std::string> big = ReadIniSectionKeys(file, "Big");
    std::size_t whole = 0;
    std::size_t used = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::size_t length =
            keys[i].size() + std::string("=Text ").size() + std::to_string(i).size() + 1;
        if (used + length > 4094) {
            break;
        }
        used += length;
        ++whole;
        EXPECT_EQ(big.count(keys[i]), 1u) << keys[i];
    }
    // Every entry that fitted whole is there, the cut one at most once more,
    // and nothing from past the cut.
    EXPECT_GE(big.size(), whole);
    EXPECT_LE(big.size(), whole + 1);
    EXPECT_EQ(big.count(keys[whole + 1]), 0u);
    EXPECT_EQ(big.count(keys.back()), 0u);
}

}  // namespace
