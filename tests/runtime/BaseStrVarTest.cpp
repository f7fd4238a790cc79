#include "runtime/BaseStrVar.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using CORVANE::BaseStrVar;
using CORVANE::NumberStrModifier;
using CORVANE::SafeStrModifier;
using CORVANE::StrModifier;

namespace {

StrModifier Limited(std::size_t maxLength, std::size_t minLength) {
    StrModifier modifier;
    modifier.maxLength = maxLength;
    modifier.minLength = minLength;
    return modifier;
}

}  // namespace

TEST(BaseStrVarConstruct, StoresTheFilteredValueUnchanged) {
    const BaseStrVar<SafeStrModifier> empty;
    EXPECT_EQ(empty.value, "");
    EXPECT_EQ(empty.name, "");
    EXPECT_FALSE(empty.changed);
    EXPECT_FALSE(empty.readOnly);
    EXPECT_EQ(empty.caseConversion, 0);

    const BaseStrVar<SafeStrModifier> limited("sitename", 60);
    EXPECT_EQ(limited.name, "sitename");
    EXPECT_EQ(limited.modifier.maxLength, 60u);
    EXPECT_EQ(limited.modifier.minLength, 0u);
    EXPECT_EQ(limited.value, "");

    // The rule's configuration is taken, the filter stays the variable's.
    StrModifier rule = Limited(3, 1);
    rule.caseMode = StrModifier::kCaseUpper;
    const BaseStrVar<NumberStrModifier> number("mailbox", "1a2b3c4", rule);
    EXPECT_EQ(number.value, "123");
    EXPECT_EQ(number.initialValue, "123");
    EXPECT_FALSE(number.changed);
    EXPECT_EQ(number.modifier.caseMode, StrModifier::kCaseUpper);
    EXPECT_EQ(number.modifier.minLength, 1u);

    // The given maximum replaces the rule's limits, minimum included.
    const BaseStrVar<CORVANE::PrintableStrModifier> printable("title", "abc\"defgh", 5,
                                                              Limited(2, 2));
    EXPECT_EQ(printable.value, "abcde");
    EXPECT_EQ(printable.modifier.maxLength, 5u);
    EXPECT_EQ(printable.modifier.minLength, 0u);
    EXPECT_FALSE(printable.changed);
}

namespace {

enum class Op { Set, FromString, LoadFromString };

struct Step {
    Op op;
    std::string text;
};

struct AssignCase {
    const char* what;
    std::vector<Step> steps;
    std::string value;
    bool changed;
};

void Apply(BaseStrVar<StrModifier>& var, const Step& step) {
    switch (step.op) {
        case Op::Set:
            EXPECT_EQ(var.Set(step.text), var.value);
            break;
        case Op::FromString:
            EXPECT_EQ(&var.FromString(step.text), &var);
            break;
        case Op::LoadFromString:
            var.LoadFromString(step.text);
            break;
    }
}

}  // namespace

// Starting from "old" with a maximum of 5 and a minimum of 2.
TEST(BaseStrVarAssign, ChangedFlagFollowsTheStoredValue) {
    const std::vector<AssignCase> cases = {
        {"set a new text", {{Op::Set, "new"}}, "new", true},
        {"set the same text", {{Op::Set, "old"}}, "old", false},
        {"set refused by the minimum", {{Op::Set, "x"}}, "old", false},
        {"set cut to the maximum", {{Op::Set, "abcdefg"}}, "abcde", true},
        {"set away and back", {{Op::Set, "new"}, {Op::Set, "old"}}, "old", true},
        {"refusal keeps an earlier change", {{Op::Set, "new"}, {Op::Set, "x"}}, "new", true},
        {"from string takes blanks", {{Op::FromString, " a "}}, " a ", true},
        {"from string of the same text", {{Op::FromString, "old"}}, "old", false},
        {"load clears the flag", {{Op::LoadFromString, "new"}}, "new", false},
        {"load after a change clears it",
         {{Op::Set, "new"}, {Op::LoadFromString, "two"}},
         "two",
         false},
        {"refused load still clears it",
         {{Op::Set, "new"}, {Op::LoadFromString, ""}},
         "new",
         false},
        {"change after a load",
         {{Op::LoadFromString, "two"}, {Op::FromString, "three"}},
         "three",
         true},
    };
    for (const AssignCase& c : cases) {
        SCOPED_TRACE(c.what);
        BaseStrVar<StrModifier> var("field", "old", Limited(5, 2));
        for (const Step& step : c.steps) Apply(var, step);
        EXPECT_EQ(var.value, c.value);
        EXPECT_EQ(var.changed, c.changed);
    }
}

TEST(BaseStrVarAssign, CaseConversionBeforeTheModifier) {
    const struct {
        std::int32_t conversion;
        std::string text;
        std::string value;
    } cases[] = {
        {CORVANE::kCaseConversionLower, "ABC-\xC3\x89", "abc-\xC3\x89"},
        {CORVANE::kCaseConversionUpper, "abc-\xC3\xA9", "ABC-\xC3\xA9"},
        {0, "aBc", "aBc"},
        {2, "aBc", "aBc"},
    };
    for (const auto& c : cases) {
        BaseStrVar<StrModifier> var("field", 0);
        var.caseConversion = c.conversion;
        EXPECT_EQ(var.Set(c.text), c.value);
        var.LoadFromString(c.text + "1");
        EXPECT_EQ(var.value, c.value + "1");
    }

    // Lowered first, then refused by a modifier that rejects lower case.
    BaseStrVar<StrModifier> var("field", "OLD", StrModifier());
    var.modifier.rejectSet = "abc";
    var.caseConversion = CORVANE::kCaseConversionLower;
    EXPECT_EQ(var.Set("ABC"), "OLD");
    EXPECT_FALSE(var.changed);
}

TEST(BaseStrVarAssign, ReadOnlyAndDryRunTouchNothing) {
    BaseStrVar<NumberStrModifier> var("number", "100", StrModifier());
    var.caseConversion = CORVANE::kCaseConversionUpper;

    EXPECT_EQ(var.Assign("2a0b0", false), "200");
    EXPECT_EQ(var.value, "100");
    EXPECT_FALSE(var.changed);

    var.readOnly = true;
    EXPECT_EQ(var.Set("300"), "100");
    var.FromString("400");
    var.LoadFromString("500");
    EXPECT_EQ(var.value, "100");
    EXPECT_FALSE(var.changed);
    EXPECT_TRUE(var.readOnly);

    // The dry run shows the modifier's result without the case conversion.
    BaseStrVar<StrModifier> text("name", 0);
    text.caseConversion = CORVANE::kCaseConversionUpper;
    text.readOnly = true;
    EXPECT_EQ(text.Assign("abc", true), "abc");
    EXPECT_EQ(text.value, "");
}

TEST(BaseStrVarGet, TrimsWhiteSpaceOnlyAtTheEnds) {
    BaseStrVar<StrModifier> var("field", 0);
    var.FromString(" \t\n\v\f\ra b\r\n ");
    EXPECT_EQ(var.Get(), "a b");
    EXPECT_EQ(var.value, " \t\n\v\f\ra b\r\n ");
    var.FromString(" \t ");
    EXPECT_EQ(var.Get(), "");
    var.FromString(std::string("\0a\0", 3));
    EXPECT_EQ(var.Get(), std::string("\0a\0", 3));
}

TEST(BaseStrVarCopy, AssignmentCopiesEveryMemberAndKeepsTheFilter) {
    StrModifier rule = Limited(4, 2);
    rule.removeSet = "-";
    BaseStrVar<NumberStrModifier> source("extension", "12", rule);
    source.Set("123");
    source.spareText = "spare";
    source.readOnly = true;
    source.caseConversion = CORVANE::kCaseConversionLower;

    BaseStrVar<NumberStrModifier> target("other", 0);
    target = source;
    EXPECT_EQ(target.name, "extension");
    EXPECT_EQ(target.value, "123");
    EXPECT_EQ(target.initialValue, "12");
    EXPECT_EQ(target.spareText, "spare");
    EXPECT_TRUE(target.changed);
    EXPECT_TRUE(target.readOnly);
    EXPECT_EQ(target.caseConversion, CORVANE::kCaseConversionLower);

    target.readOnly = false;
    EXPECT_EQ(target.Set("9-8x7-6-5"), "9876");
    EXPECT_EQ(target.Set("1"), "9876");
}

TEST(BaseStrVarLoad, LongStoredTextCutToTheMaximum) {
    BaseStrVar<SafeStrModifier> var("sitename", 60);
    var.LoadFromString(std::string(70, 'x'));
    EXPECT_EQ(var.value, std::string(60, 'x'));
    EXPECT_FALSE(var.changed);
}

TEST(BaseStrVarBadInput, TenMegabytesWithNulBytes) {
    std::string text(10 * 1024 * 1024, 'a');
    for (std::size_t i = 0; i < text.size(); i += 3) text[i] = '\0';
    BaseStrVar<SafeStrModifier> var("detail", 0);
    var.caseConversion = CORVANE::kCaseConversionUpper;
    var.FromString(text);
    EXPECT_EQ(var.value, std::string(text.size() - (text.size() + 2) / 3, 'A'));
    EXPECT_TRUE(var.changed);
}
