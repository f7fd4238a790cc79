#include "runtime/StrModifier.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/DTMFStrModifier.h"
#include "runtime/FilenameStrModifier.h"
#include "runtime/FilepathStrModifier.h"
#include "runtime/NumberStrModifier.h"
#include "runtime/PrintableStrModifier.h"
#include "runtime/SafeStrModifier.h"

using CORVANE::StrModifier;

namespace {

struct RuleFields {
    std::int32_t caseMode = 0;
    std::string rejectSet;
    std::size_t maxLength = 0;
    std::size_t minLength = 0;
    std::string removeSet;
    std::string allowedSet;
};

StrModifier Configured(const RuleFields& rule) {
    StrModifier modifier;
    modifier.caseMode = rule.caseMode;
    modifier.rejectSet = rule.rejectSet;
    modifier.maxLength = rule.maxLength;
    modifier.minLength = rule.minLength;
    modifier.removeSet = rule.removeSet;
    modifier.allowedSet = rule.allowedSet;
    return modifier;
}

struct ApplyCase {
    const char* what;
    RuleFields rule;
    std::string proposal;
    std::string current;
    std::string stored;
    bool changed;
};

const std::string kDigits = "0123456789";

}  // namespace

TEST(StrModifierApply, FollowsTheRuleInOrder) {
    const std::vector<ApplyCase> cases = {
        {"default takes anything", {}, "any text", "old", "any text", true},
        {"same text is no change even when over the maximum",
         {1, ";", 2, 2, "a", "b"},
         "abc;",
         "abc;",
         "abc;",
         false},
        {"empty refused when maximum and minimum are set",
         {0, "", 10, 2, "", ""},
         "",
         "abc",
         "abc",
         false},
        {"empty taken without maximum", {0, "", 0, 2, "", ""}, "", "abc", "", true},
        {"empty taken without minimum", {0, "", 10, 0, "", ""}, "", "abc", "", true},
        {"empty against empty is no change", {}, "", "", "", false},
        {"too short refused", {0, "", 10, 3, "", ""}, "ab", "old", "old", false},
        {"minimum ignored without maximum", {0, "", 0, 3, "", ""}, "ab", "old", "ab", true},
        {"long text cut, minimum not tested on it",
         {0, "", 3, 5, "", ""},
         "abcdef",
         "",
         "abc",
         true},
        {"exact maximum kept", {0, "", 3, 3, "", ""}, "abc", "", "abc", true},
        {"remove set then allowed set", {0, "", 0, 0, "-", kDigits}, "5-7-8", "", "578", true},
        {"outside the allowed set refused", {0, "", 0, 0, "-", kDigits}, "57a8", "1", "1", false},
        {"allowed set tested before the cut", {0, "", 3, 0, "", "abc"}, "abcx", "a", "a", false},
        {"rejected character refuses", {0, ";,", 0, 0, "", ""}, "a,b", "x", "x", false},
        {"removed before the reject test", {0, ";", 0, 0, ";", ""}, "a;b", "", "ab", true},
        {"emptied by removal, refused by minimum", {0, "", 10, 1, "-", ""}, "---", "x", "x", false},
        {"emptied by removal, taken without minimum",
         {0, "", 10, 0, "-", ""},
         "---",
         "x",
         "",
         true},
        {"equal to current only after removal still a change",
         {0, "", 0, 0, "-", ""},
         "a-b",
         "ab",
         "ab",
         true},
        {"case applied after the cut", {1, "", 3, 0, "", ""}, "abcdef", "", "ABC", true},
        {"upper case", {1, "", 0, 0, "", ""}, "abc-\xC3\xA9", "", "ABC-\xC3\xA9", true},
        {"lower case", {2, "", 0, 0, "", ""}, "ABC-\xC3\x89", "", "abc-\xC3\x89", true},
        {"capitalized", {3, "", 0, 0, "", ""}, "hELLO-wORLD", "", "Hello-world", true},
        {"capitalized, first byte no letter", {3, "", 0, 0, "", ""}, "1ABC", "", "1abc", true},
        {"capitalized, first byte non-ASCII",
         {3, "", 0, 0, "", ""},
         "\xC3\xA9TE",
         "",
         "\xC3\xA9te",
         true},
        {"unknown case mode acts as none", {7, "", 0, 0, "", ""}, "aBc", "", "aBc", true},
        {"NUL bytes kept by default", {}, std::string("a\0b", 3), "", std::string("a\0b", 3), true},
        {"NUL in the reject set",
         {0, std::string(1, '\0'), 0, 0, "", ""},
         std::string("a\0b", 3),
         "x",
         "x",
         false},
        {"NUL in the remove set",
         {0, "", 0, 0, std::string(1, '\0'), ""},
         std::string("a\0b", 3),
         "",
         "ab",
         true},
        {"sets are case-sensitive", {0, "A", 0, 0, "", ""}, "abc", "", "abc", true},
    };
    for (const ApplyCase& c : cases) {
        SCOPED_TRACE(c.what);
        bool changed = !c.changed;
        EXPECT_EQ(Configured(c.rule).Apply(c.proposal, c.current, changed), c.stored);
        EXPECT_EQ(changed, c.changed);
    }
}

TEST(StrModifierApply, ResetGivesTheDefaultRule) {
    StrModifier modifier = Configured({3, "x", 2, 2, "a", "b"});
    modifier.Reset();
    bool changed = false;
    EXPECT_EQ(modifier.Apply("xyz-a", "", changed), "xyz-a");
    EXPECT_TRUE(changed);
}

namespace {

using ModifierFactory = std::function<std::unique_ptr<StrModifier>()>;

template <class M>
ModifierFactory Make() {
    return [] { return std::unique_ptr<StrModifier>(new M); };
}

bool IsAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsOneOf(unsigned char c, const std::string& set) {
    return c != 0 && set.find(static_cast<char>(c)) != std::string::npos;
}

struct CharacterSetCase {
    const char* what;
    ModifierFactory make;
    std::function<bool(unsigned char)> keeps;
};

}  // namespace

// Every one of the 256 bytes, proposed alone: kept exactly when it belongs
// to the class's characters.
TEST(DerivedStrModifier, KeepExactlyTheirCharacters) {
    const auto safe = [](unsigned char c) {
        return c >= 0x20 && c <= 0x7E && c != '"' && c != '`';
    };
    const std::vector<CharacterSetCase> cases = {
        {"safe", Make<CORVANE::SafeStrModifier>(), safe},
        {"printable", Make<CORVANE::PrintableStrModifier>(), safe},
        {"number", Make<CORVANE::NumberStrModifier>(),
         [](unsigned char c) { return c >= '0' && c <= '9'; }},
        {"file name", Make<CORVANE::FilenameStrModifier>(),
         [](unsigned char c) { return IsAlnum(c) || IsOneOf(c, " ~!.()[]_-"); }},
        {"file path", Make<CORVANE::FilepathStrModifier>(),
         [](unsigned char c) { return IsAlnum(c) || IsOneOf(c, " ~!:.\\()[]_-&"); }},
        {"DTMF", Make<CORVANE::DTMFStrModifier>(),
         [](unsigned char c) { return (c >= '0' && c <= '9') || IsOneOf(c, "abcdABCD*#"); }},
    };
    for (const CharacterSetCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<StrModifier> modifier = c.make();
        int kept = 0;
        for (int byte = 0; byte < 256; ++byte) {
            const std::string text(1, static_cast<char>(byte));
            bool changed = false;
            const std::string stored = modifier->Apply(text, "old", changed);
            const bool expectKept = c.keeps(static_cast<unsigned char>(byte));
            EXPECT_EQ(stored, expectKept ? text : std::string()) << "byte " << byte;
            EXPECT_TRUE(changed) << "byte " << byte;
            kept += expectKept ? 1 : 0;
        }
        EXPECT_GT(kept, 0);
    }
}

namespace {

struct DerivedCase {
    const char* what;
    ModifierFactory make;
    RuleFields rule;
    std::string proposal;
    std::string current;
    std::string stored;
    bool changed;
};

std::unique_ptr<StrModifier> Build(const DerivedCase& c) {
    std::unique_ptr<StrModifier> modifier = c.make();
    static_cast<StrModifier&>(*modifier) = Configured(c.rule);
    return modifier;
}

}  // namespace

TEST(DerivedStrModifier, FilterThenApplyTheBaseRule) {
    const std::vector<DerivedCase> cases = {
        {"digits filtered then cut",
         Make<CORVANE::NumberStrModifier>(),
         {0, "", 2, 0, "", ""},
         "9-0-8",
         "",
         "90",
         true},
        {"filtered down to the current text is no change",
         Make<CORVANE::SafeStrModifier>(),
         {},
         "a\"b`",
         "ab",
         "ab",
         false},
        {"quotes and backquotes vanish",
         Make<CORVANE::SafeStrModifier>(),
         {},
         "say \"hi\" `now`",
         "",
         "say hi now",
         true},
        {"printable filters as safe",
         Make<CORVANE::PrintableStrModifier>(),
         {},
         "caf\xC3\xA9\t\"1\"",
         "",
         "caf1",
         true},
        {"filtered to empty, refused by minimum",
         Make<CORVANE::NumberStrModifier>(),
         {0, "", 5, 1, "", ""},
         "abc",
         "12",
         "12",
         false},
        {"filtered to empty, taken without limits",
         Make<CORVANE::NumberStrModifier>(),
         {},
         "abc",
         "12",
         "",
         true},
        {"case and length after the filter",
         Make<CORVANE::SafeStrModifier>(),
         {3, "", 5, 0, "", ""},
         "h\"ELLO wORLD",
         "",
         "Hello",
         true},
        {"keypad symbols",
         Make<CORVANE::DTMFStrModifier>(),
         {},
         "12#*abcdefABCDEF 9",
         "",
         "12#*abcdABCD9",
         true},
        {"file path keeps backslash and colon, no slash",
         Make<CORVANE::FilepathStrModifier>(),
         {},
         "C:\\dir/sub\\a&b?.wav",
         "",
         "C:\\dirsub\\a&b.wav",
         true},
        {"file name after the last backslash",
         Make<CORVANE::FilenameStrModifier>(),
         {},
         "D:\\dir\\my?file.txt",
         "",
         "myfile.txt",
         true},
        {"slash is no separator",
         Make<CORVANE::FilenameStrModifier>(),
         {},
         "dir/my file (1).txt",
         "",
         "dirmy file (1).txt",
         true},
        {"nothing after the last backslash",
         Make<CORVANE::FilenameStrModifier>(),
         {},
         "C:\\dir\\",
         "x",
         "",
         true},
        {"cut file name equal to current",
         Make<CORVANE::FilenameStrModifier>(),
         {},
         "C:\\x\\a.txt",
         "a.txt",
         "a.txt",
         false},
        {"NUL bytes filtered",
         Make<CORVANE::NumberStrModifier>(),
         {},
         std::string("1\0002", 3),
         "",
         "12",
         true},
    };
    for (const DerivedCase& c : cases) {
        SCOPED_TRACE(c.what);
        bool changed = !c.changed;
        EXPECT_EQ(Build(c)->Apply(c.proposal, c.current, changed), c.stored);
        EXPECT_EQ(changed, c.changed);
    }
}

// A class derived from a modifier may change its filter: Apply filters
// through the virtual KeepOnly, whatever the class.
template <class M>
class MarkingKeepOnly : public M {
public:
    std::string KeepOnly(const std::string& text, const std::string& /*keepSet*/) const override {
        return text + "X";
    }
};

TEST(DerivedStrModifier, FilterThroughTheVirtualKeepOnly) {
    const std::vector<std::pair<const char*, ModifierFactory>> cases = {
        {"DTMF", Make<MarkingKeepOnly<CORVANE::DTMFStrModifier>>()},
        {"file name", Make<MarkingKeepOnly<CORVANE::FilenameStrModifier>>()},
        {"file path", Make<MarkingKeepOnly<CORVANE::FilepathStrModifier>>()},
        {"number", Make<MarkingKeepOnly<CORVANE::NumberStrModifier>>()},
        {"printable", Make<MarkingKeepOnly<CORVANE::PrintableStrModifier>>()},
        {"safe", Make<MarkingKeepOnly<CORVANE::SafeStrModifier>>()},
    };
    for (const auto& c : cases) {
        bool changed = false;
        EXPECT_EQ(c.second()->Apply("1", "", changed), "1X") << c.first;
        EXPECT_TRUE(changed) << c.first;
    }
}

TEST(StrModifierKeepOnly, KeepsTheSetInOrder) {
    const StrModifier modifier;
    EXPECT_EQ(modifier.KeepOnly("anything", ""), "");
    EXPECT_EQ(modifier.KeepOnly("", "abc"), "");
    EXPECT_EQ(modifier.KeepOnly("c-a-b-a", "aab"), "aba");
    EXPECT_EQ(modifier.KeepOnly("xyz", "abc"), "");
    EXPECT_EQ(modifier.KeepOnly(std::string("\0a\0", 3), std::string(1, '\0')),
              std::string(2, '\0'));
    EXPECT_EQ(modifier.KeepOnly("\xFF\x80z", "\xFF"), "\xFF");
}

// Sets are remembered between calls: more sets in turn than are remembered,
// and one set changed in place, each filter as their content says.
TEST(StrModifierKeepOnly, FollowsEverySetAsItIsNow) {
    const StrModifier modifier;
    const std::vector<std::pair<std::string, std::string>> sets = {
        {"a", "aaaa"}, {"b", "bbb"}, {"c", "c"}, {"ab", "abababa"}, {"bc", "bcbb"}, {"", ""},
    };
    for (int round = 0; round < 3; ++round) {
        for (const auto& set : sets)
            EXPECT_EQ(modifier.KeepOnly("abcabab-a", set.first), set.second) << set.first;
    }
    std::string set = "ab";
    EXPECT_EQ(modifier.KeepOnly("abcabc", set), "abab");
    set[1] = 'c';
    EXPECT_EQ(modifier.KeepOnly("abcabc", set), "acac");
}

TEST(StrModifierXml, EscapesAndUnescapesTheFiveEntities) {
    const StrModifier modifier;
    const struct {
        std::string plain;
        std::string escaped;
    } pairs[] = {
        {"a<b&'c'", "a&lt;b&amp;&apos;c&apos;"},
        {"\"x\" > y", "&quot;x&quot; &gt; y"},
        {"&lt;", "&amp;lt;"},
        {"&&", "&amp;&amp;"},
        {"", ""},
        {"plain", "plain"},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(modifier.XmlEscape(p.plain), p.escaped);
        EXPECT_EQ(modifier.XmlUnescape(p.escaped), p.plain);
    }
    EXPECT_EQ(modifier.XmlUnescape("&lt;&gt;"), "<>");
    EXPECT_EQ(modifier.XmlUnescape("&amp;amp;"), "&amp;");
    EXPECT_EQ(modifier.XmlUnescape("&nbsp;&LT;&amp"), "&nbsp;&LT;&amp");
}

// Texts of any bytes and of 10 MB go through every modifier by the rules
// and in linear time: a quadratic delete-and-rescan would never finish here.
TEST(StrModifierBadInput, TenMegabytesOfAnyBytes) {
    const std::size_t size = 10 * 1024 * 1024;
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i) text[i] = static_cast<char>(i * 7 % 256);

    const auto started = std::chrono::steady_clock::now();
    bool changed = false;

    StrModifier removing = Configured({3, "", 0, 0, std::string("\0a", 2), ""});
    const std::string removed = removing.Apply(text, "", changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(removed.size(), size - 2 * size / 256);

    StrModifier rejecting = Configured({0, "\xFF", 0, 0, "", ""});
    EXPECT_EQ(rejecting.Apply(text, "old", changed), "old");
    EXPECT_FALSE(changed);

    StrModifier cutting = Configured({1, "", 5 * 1024 * 1024, 0, "", ""});
    EXPECT_EQ(cutting.Apply(text, "", changed).size(), 5u * 1024 * 1024);

    const std::string digits = CORVANE::NumberStrModifier().Apply(text, "", changed);
    EXPECT_EQ(digits.size(), 10 * size / 256);
    EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos);

    const std::vector<ModifierFactory> all = {
        Make<CORVANE::SafeStrModifier>(),     Make<CORVANE::PrintableStrModifier>(),
        Make<CORVANE::FilenameStrModifier>(), Make<CORVANE::FilepathStrModifier>(),
        Make<CORVANE::DTMFStrModifier>(),
    };
    for (const ModifierFactory& make : all)
        EXPECT_LE(make()->Apply(text, "", changed).size(), size);

    const std::string escaped = removing.XmlEscape(text);
    EXPECT_EQ(removing.XmlUnescape(escaped), text);

    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_LT(elapsed, std::chrono::seconds(30));
}
