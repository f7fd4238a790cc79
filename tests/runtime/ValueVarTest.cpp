#include "runtime/ValueVar.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using CORVANE::ValueVar;

TEST(ValueVarSet, LimitsStoreAndReadOnly) {
    ValueVar<int> volume("volume", 0, 5, -5);
    EXPECT_EQ(volume.Set(7, true), 0);
    EXPECT_FALSE(volume.changed);
    EXPECT_EQ(volume.Set(-6, true), 0);
    EXPECT_EQ(volume.Set(-5, true), -5);
    EXPECT_TRUE(volume.changed);
    volume.changed = false;
    EXPECT_EQ(volume.Set(-5, true), -5);
    EXPECT_FALSE(volume.changed);
    EXPECT_EQ(volume.Set(5, true), 5);

    EXPECT_EQ(volume.Set(3, false), 5);
    volume.readOnly = true;
    EXPECT_EQ(volume.Set(3, true), 5);
    EXPECT_EQ(volume.value, 5);

    // No maximum means no limits at all.
    ValueVar<int> open("count", 0, 0, 10);
    EXPECT_EQ(open.Set(3, true), 3);
    EXPECT_EQ(open.Set(INT_MIN, true), INT_MIN);

    ValueVar<bool> flag("vip", false, true);
    EXPECT_EQ(flag.Set(true, true), true);
    EXPECT_EQ(flag.Set(false, true), false);
    flag.minimum = true;
    EXPECT_EQ(flag.Set(true, true), true);
    EXPECT_EQ(flag.Set(false, true), true);

    ValueVar<int> defaulted("type", 42, 5, 1);
    EXPECT_EQ(defaulted.value, 42);
    EXPECT_EQ(defaulted.initialValue, 42);
    EXPECT_FALSE(defaulted.changed);
}

namespace {

struct TextCase {
    std::string text;
    int value;
};

}  // namespace

// From 5, without limits.
TEST(ValueVarFromString, IntTextRules) {
    const std::vector<TextCase> cases = {
        {"", 0},
        {"\"\"", 0},
        {"On", 1},
        {"TRUE", 1},
        {"on", 1},
        {"oFF", 0},
        {"False", 0},
        {"12abc", 12},
        {"abc", 0},
        {"  -7", -7},
        {"\t+3", 3},
        {"3.9", 3},
        {"0x10", 0},
        {"\"1\"", 0},
        {"on ", 0},
        {"- 4", 0},
        {std::string("1\0002", 3), 1},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", INT_MAX},
        {"-99999999999999999999", INT_MIN},
        {std::string(100000, '9'), INT_MAX},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE("text \"" + c.text.substr(0, 30) + "\"");
        ValueVar<int> var("number", 5, 0, 0);
        EXPECT_EQ(&var.FromString(c.text), &var);
        EXPECT_EQ(var.value, c.value);
        EXPECT_EQ(var.changed, c.value != 5);
    }
}

// From 5, without limits: texts that are no number keep the value.
TEST(ValueVarLoadFromString, IntLoadRules) {
    const std::vector<TextCase> cases = {
        {"", 0},
        {"\"\"", 0},
        {"ON", 1},
        {"off", 0},
        {"12abc", 12},
        {" -8", -8},
        {"abc", 5},
        {"- 4", 5},
        {"+", 5},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"2147483648", 5},
        {"-2147483649", 5},
        {std::string(100000, '9'), 5},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE("text \"" + c.text.substr(0, 30) + "\"");
        ValueVar<int> var("number", 5, 0, 0);
        var.Set(6, true);
        var.Set(5, true);
        ASSERT_TRUE(var.changed);
        var.LoadFromString(c.text);
        EXPECT_EQ(var.value, c.value);
        EXPECT_FALSE(var.changed);
    }

    ValueVar<int> ranged("daysbeforecheckout", 1, 3, 0);
    ranged.LoadFromString("7");
    EXPECT_EQ(ranged.value, 1);
    ranged.readOnly = true;
    ranged.LoadFromString("2");
    EXPECT_EQ(ranged.value, 1);
}

namespace {

struct BoolCase {
    std::string text;
    bool fromString;  // starting from false
    bool loaded;      // starting from false, then from true
    bool loadedFromTrue;
};

}  // namespace

TEST(ValueVarBool, TextAndLoadRules) {
    const std::vector<BoolCase> cases = {
        {"on", true, true, true},
        {"ON", true, true, true},
        {"true", true, true, true},
        {"off", false, false, false},
        {"", false, false, false},
        {"\"\"", false, false, false},
        {"1", true, true, true},
        {"2", true, true, true},
        {"0", false, false, false},
        {"-1", false, false, false},
        {"yes", false, false, true},
        {"9abc", true, true, true},
        {"99999999999", true, false, true},
        {"-99999999999", false, false, true},
    };
    for (const BoolCase& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        ValueVar<bool> var("autodelete", false, true);
        var.FromString(c.text);
        EXPECT_EQ(var.value, c.fromString);
        EXPECT_EQ(var.changed, c.fromString);

        ValueVar<bool> loaded("autodelete", false, true);
        loaded.LoadFromString(c.text);
        EXPECT_EQ(loaded.value, c.loaded);
        ValueVar<bool> loadedTrue("autodelete", true, true);
        loadedTrue.LoadFromString(c.text);
        EXPECT_EQ(loadedTrue.value, c.loadedFromTrue);
        EXPECT_FALSE(loadedTrue.changed);
    }
}

TEST(ValueVarDouble, TextRules) {
    const struct {
        std::string text;
        double value;  // starting from 7.0
    } cases[] = {
        {"2.5", 2.5},    {"  -1.25e2xyz", -125.0},
        {"", 0.0},       {"\"\"", 0.0},
        {"On", 1.0},     {"x", 7.0},
        {"  ", 7.0},     {"1e999", 7.0},
        {"-1e999", 7.0}, {"1e-400", 0.0},
        {"7", 7.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\"");
        ValueVar<double> var;
        var.Set(7.0, true);
        var.changed = false;
        var.FromString(c.text);
        EXPECT_EQ(var.value, c.value);
        EXPECT_EQ(var.changed, c.value != 7.0);
    }

    const ValueVar<double> fresh;
    EXPECT_EQ(fresh.value, 0.0);
    EXPECT_EQ(fresh.maximum, 0.0);
    EXPECT_TRUE(fresh.name.empty());
    EXPECT_FALSE(fresh.changed);
}

TEST(ValueVarCopy, AssignmentKeepsTheTargetsInitialValue) {
    ValueVar<int> source("priority", 1, 9, 1);
    source.Set(4, true);
    source.spareText = "spare";
    source.readOnly = true;

    ValueVar<int> target("other", 8, 0, 0);
    target = source;
    EXPECT_EQ(target.name, "priority");
    EXPECT_EQ(target.value, 4);
    EXPECT_EQ(target.maximum, 9);
    EXPECT_EQ(target.minimum, 1);
    EXPECT_EQ(target.spareText, "spare");
    EXPECT_TRUE(target.changed);
    EXPECT_TRUE(target.readOnly);
    EXPECT_EQ(target.initialValue, 8);

    const ValueVar<int> copy(source);
    EXPECT_EQ(copy.initialValue, 1);
    EXPECT_EQ(copy.value, 4);
}

TEST(ValueVarBadInput, TenMegabyteNumberTexts) {
    const std::string digits(10 * 1024 * 1024, '9');
    const std::string blanksThenOne = std::string(10 * 1024 * 1024, ' ') + "1";

    ValueVar<int> number("count", 5, 0, 0);
    number.FromString(digits);
    EXPECT_EQ(number.value, INT_MAX);
    number.LoadFromString("-" + digits);
    EXPECT_EQ(number.value, INT_MAX);
    number.LoadFromString(blanksThenOne);
    EXPECT_EQ(number.value, 1);

    ValueVar<bool> flag("vip", false, true);
    flag.FromString(digits);
    EXPECT_TRUE(flag.value);

    ValueVar<double> real;
    real.FromString(digits);
    EXPECT_EQ(real.value, 0.0);
    real.FromString("0." + digits);
    EXPECT_EQ(real.value, 1.0);
    real.FromString(
        std::string("\0"
                    "5",
                    2));
    EXPECT_EQ(real.value, 1.0);
}

namespace {

// Starting from 5, without limits.
template <typename T>
struct WideCase {
    std::string text;
    T fromString;  // read as the C runtime's atol (atoll for long long)
    T loaded;      // checked against the range of T
};

template <typename T>
void CheckWideTexts(const std::vector<WideCase<T>>& cases) {
    for (const WideCase<T>& c : cases) {
        SCOPED_TRACE("text \"" + c.text.substr(0, 30) + "\"");
        ValueVar<T> assigned("size", 5, 0, 0);
        assigned.FromString(c.text);
        EXPECT_EQ(assigned.value, c.fromString);
        EXPECT_EQ(assigned.changed, c.fromString != 5);

        ValueVar<T> loaded("size", 5, 0, 0);
        loaded.Set(6, true);
        loaded.Set(5, true);
        loaded.LoadFromString(c.text);
        EXPECT_EQ(loaded.value, c.loaded);
        EXPECT_FALSE(loaded.changed);
    }
}

}  // namespace

TEST(ValueVarWide, LongTextAndLoadRules) {
    CheckWideTexts<long>({
        {"", 0, 0},
        {"On", 1, 1},
        {"off", 0, 0},
        {"12abc", 12, 12},
        {"abc", 0, 5},
        {"  -7", -7, -7},
        {"2147483648", 2147483648L, 2147483648L},
        {"-2147483649", -2147483649L, -2147483649L},
        {"9223372036854775807", LONG_MAX, LONG_MAX},
        {"-9223372036854775808", LONG_MIN, LONG_MIN},
        {"9223372036854775808", LONG_MAX, 5},
        {"-9223372036854775809", LONG_MIN, 5},
        {"18446744073709551616", LONG_MAX, 5},
        {std::string(100000, '9'), LONG_MAX, 5},
    });
}

TEST(ValueVarWide, LongLongTextAndLoadRules) {
    CheckWideTexts<long long>({
        {"\"\"", 0, 0},
        {"TRUE", 1, 1},
        {"- 4", 0, 5},
        {"4294967296x", 4294967296LL, 4294967296LL},
        {"9223372036854775807", LLONG_MAX, LLONG_MAX},
        {"-9223372036854775808", LLONG_MIN, LLONG_MIN},
        {"9223372036854775808", LLONG_MAX, 5},
        {"-99999999999999999999", LLONG_MIN, 5},
    });
}

// Assigned texts are read as signed longs, as atol reads them; a loaded
// text must be a number of the unsigned range.
TEST(ValueVarWide, UnsignedLongTextAndLoadRules) {
    CheckWideTexts<unsigned long>({
        {"", 0, 0},
        {"on", 1, 1},
        {"abc", 0, 5},
        {"4294967296", 4294967296UL, 4294967296UL},
        {"9223372036854775807", 9223372036854775807UL, 9223372036854775807UL},
        {"9223372036854775808", 9223372036854775807UL, 9223372036854775808UL},
        {"18446744073709551615", 9223372036854775807UL, ULONG_MAX},
        {"18446744073709551616", 9223372036854775807UL, 5},
        {"-1", ULONG_MAX, 5},
        {"-0", 0, 0},
    });
}

TEST(ValueVarWide, LimitsHoldBeyondTheIntRange) {
    ValueVar<long> big("bytes", 0, 5000000000L, -5);
    EXPECT_EQ(big.Set(6000000000L, true), 0);
    EXPECT_EQ(big.Set(-6, true), 0);
    EXPECT_FALSE(big.changed);
    EXPECT_EQ(big.Set(4000000000L, true), 4000000000L);
    EXPECT_TRUE(big.changed);
    big.LoadFromString("5000000001");
    EXPECT_EQ(big.value, 4000000000L);

    ValueVar<unsigned long> count("count", 3, 10, 2);
    EXPECT_EQ(count.Set(1, true), 3u);
    EXPECT_EQ(count.Set(ULONG_MAX, true), 3u) << "compared as unsigned";
    EXPECT_EQ(count.Set(10, true), 10u);
    count.FromString("-1");
    EXPECT_EQ(count.value, 10u);

    ValueVar<long long> open("offset", 0, 0, 7);
    EXPECT_EQ(open.Set(LLONG_MIN, true), LLONG_MIN);

    ValueVar<long> source("bytes", 9, 100, 0);
    source.Set(50, true);
    ValueVar<long> target("other", 1, 0, 0);
    target = source;
    EXPECT_EQ(target.value, 50);
    EXPECT_EQ(target.maximum, 100);
    EXPECT_EQ(target.initialValue, 1);
}
