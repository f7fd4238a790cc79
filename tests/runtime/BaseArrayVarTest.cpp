#include "runtime/BaseArrayVar.h"

#include <set>
#include <string>
#include <vector>

#include "Poco/Exception.h"
#include "Poco/MongoDB/Document.h"
#include <gtest/gtest.h>

#include "runtime/CaseConversion.h"

using CORVANE::BaseArrayVar;
using CORVANE::StrModifier;
using Strings = std::set<std::string>;

namespace {

struct AddCase {
    const char* what;
    StrModifier rule;
    std::int32_t caseConversion;
    bool readOnly;
    bool store;
    std::string text;
    bool added;
    Strings values;  // starting from {"a"}
    bool changed;
};

StrModifier Rule(std::size_t maxLength, const std::string& removeSet,
                 const std::string& allowedSet) {
    StrModifier rule;
    rule.maxLength = maxLength;
    rule.removeSet = removeSet;
    rule.allowedSet = allowedSet;
    return rule;
}

}  // namespace

TEST(BaseArrayVarAdd, StoresWhatTheModifierTakes) {
    const StrModifier plain;
    const std::vector<AddCase> cases = {
        {"new text", plain, 0, false, true, "b", true, {"a", "b"}, true},
        {"empty text is no change", plain, 0, false, true, "", false, {"a"}, false},
        {"text already present", plain, 0, false, true, "a", true, {"a"}, true},
        {"case conversion first",
         plain,
         CORVANE::kCaseConversionUpper,
         false,
         true,
         "bc",
         true,
         {"a", "BC"},
         true},
        {"cut to the maximum", Rule(2, "", ""), 0, false, true, "bcd", true, {"a", "bc"}, true},
        {"refused by the modifier",
         Rule(0, "", "0123456789"),
         0,
         false,
         true,
         "b1",
         false,
         {"a"},
         false},
        {"emptied by the remove set", Rule(0, "-", ""), 0, false, true, "--", false, {"a"}, true},
        {"dry run", plain, 0, false, false, "b", true, {"a"}, false},
        {"dry run of the empty text", plain, 0, false, false, "", false, {"a"}, false},
        {"dry run of a refused text", Rule(0, "", "0"), 0, false, false, "b", false, {"a"}, false},
        {"read-only", plain, 0, true, true, "b", true, {"a"}, false},
        {"NUL bytes are text",
         plain,
         0,
         false,
         true,
         std::string("\0", 1),
         true,
         {"a", std::string("\0", 1)},
         true},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.what);
        BaseArrayVar<StrModifier> var("groupid", {"a"}, c.rule);
        var.caseConversion = c.caseConversion;
        var.readOnly = c.readOnly;
        EXPECT_EQ(var.Add(c.text, c.store), c.added);
        EXPECT_EQ(var.GetValues(), c.values);
        EXPECT_EQ(var.changed, c.changed);
    }
}

TEST(BaseArrayVarConstruct, TakesTheGivenValuesUnfiltered) {
    const BaseArrayVar<StrModifier> empty;
    EXPECT_TRUE(empty.values.empty());
    EXPECT_TRUE(empty.name.empty());
    EXPECT_FALSE(empty.changed);
    EXPECT_FALSE(empty.readOnly);

    const BaseArrayVar<StrModifier> var("groupid", {"B-2", "a"}, Rule(1, "-", "0123456789"));
    EXPECT_EQ(var.name, "groupid");
    EXPECT_EQ(var.GetValues(), (Strings{"B-2", "a"}));
    EXPECT_EQ(var.initialValues, (Strings{"B-2", "a"}));
    EXPECT_EQ(var.modifier.maxLength, 1u);
    EXPECT_EQ(var.modifier.removeSet, "-");
    EXPECT_FALSE(var.changed);

    BaseArrayVar<StrModifier> copy;
    copy = var;
    EXPECT_EQ(copy.name, "groupid");
    EXPECT_EQ(copy.initialValues, var.initialValues);
    EXPECT_FALSE(copy.Add("x", true));
    EXPECT_TRUE(copy.Add("9-8", true));
    EXPECT_EQ(copy.GetValues(), (Strings{"9", "B-2", "a"}));
}

TEST(BaseArrayVarLoad, AddsTheStringElementsInIndexOrder) {
    Poco::MongoDB::Array::Ptr array = new Poco::MongoDB::Array();
    Poco::MongoDB::Document::Ptr nested = new Poco::MongoDB::Document();
    nested->add("definition", std::string("inner"));
    array->add("0", std::string("sales"))
        .add("1", 42)
        .add("2", std::string("front desk"))
        .add("3", nested)
        .add("4", std::string("sales"))
        .add("5", std::string(""))
        .add("6", true);

    BaseArrayVar<StrModifier> var("groupid", {"old"}, StrModifier());
    var.caseConversion = CORVANE::kCaseConversionUpper;
    var.LoadFromArray(array);
    EXPECT_EQ(var.GetValues(), (Strings{"FRONT DESK", "SALES", "old"}));
    EXPECT_TRUE(var.changed);

    // Elements are fetched by the index name; one missing is skipped.
    Poco::MongoDB::Array::Ptr gaps = new Poco::MongoDB::Array();
    gaps->add("0", std::string("x")).add("7", std::string("y"));
    BaseArrayVar<StrModifier> other;
    other.LoadFromArray(gaps);
    EXPECT_EQ(other.GetValues(), (Strings{"x"}));

    BaseArrayVar<StrModifier> readOnly;
    readOnly.readOnly = true;
    readOnly.LoadFromArray(array);
    EXPECT_TRUE(readOnly.GetValues().empty());

    EXPECT_THROW(other.LoadFromArray(Poco::MongoDB::Array::Ptr()), Poco::NullPointerException);
}
