#include "reportframe/CommandLine.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// Parses `args` as argv[1..] and returns the map's entries in map order.
Entries Parse(std::vector<std::string> args, int* count = nullptr) {
    std::vector<char*> argv{const_cast<char*>("prog")};
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    OptionMap options;
    const int entries = ParseCommandLine(static_cast<int>(args.size() + 1), argv.data(), &options);
    if (count != nullptr) {
        *count = entries;
    }
    return Entries(options.begin(), options.end());
}

TEST(ParseCommandLine, TurnsMarkedArgumentsIntoUpperCaseKeys) {
    struct Case {
        std::vector<std::string> args;
        Entries expected;
    };
    const Case cases[] = {
        {{}, {}},
        {{"-hours", "5", "-email", "a@x.com;b@y.com", "-file", "/tmp/r.csv"},
         {{"EMAIL", "a@x.com;b@y.com"}, {"FILE", "/tmp/r.csv"}, {"HOURS", "5"}}},
        {{"-hours", "5", "-email", "a@x.com;b@y.com", "-file", "c:\\temp\\r.csv"},
         {{"EMAIL", "a@x.com;b@y.com"}, {"FILE", "c:\\temp\\r.csv"}, {"HOURS", "5"}}},
        {{"/HOURS", "5"}, {{"HOURS", "5"}}},
        {{"~file", "x"}, {{"FILE", "x"}}},
        {{"-FiLe", "report.csv"}, {{"FILE", "report.csv"}}},
        // The marker may stand anywhere; only the first one goes.
        {{"e-mail", "a@x.com"}, {{"EMAIL", "a@x.com"}}},
        {{"-e-mail", "a@x.com"}, {{"E-MAIL", "a@x.com"}}},
        {{"x~y", "-v"}, {{"XY", "-v"}}},
        {{"-a~b", "v"}, {{"A~B", "v"}}},
        {{"-?"}, {{"?", ""}}},
        {{"/?"}, {{"?", ""}}},
        {{"-"}, {{"", ""}}},
        // Only ASCII letters change case.
        {{"-\xc3\xbcml4ut_\xff"}, {{"\xc3\xbcML4UT_\xff", ""}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parse(c.args), c.expected) << ::testing::PrintToString(c.args);
    }
}

TEST(ParseCommandLine, TakesTheNextArgumentAsValueUnlessItIsAnOption) {
    struct Case {
        std::vector<std::string> args;
        Entries expected;
    };
    const Case cases[] = {
        {{"-hours", "-5"}, {{"5", ""}, {"HOURS", ""}}},
        {{"-hours", "/5"}, {{"5", ""}, {"HOURS", ""}}},
        // An absolute path is a value, also after "/"; a lone "/x" is an option.
        {{"/file", "/srv/reports/r.csv"}, {{"FILE", "/srv/reports/r.csv"}}},
        {{"-file", "/r.csv"}, {{"FILE", ""}, {"R.CSV", ""}}},
        {{"-email", "/file", "/tmp/r.csv"}, {{"EMAIL", ""}, {"FILE", "/tmp/r.csv"}}},
        {{"~hours", "-5"}, {{"HOURS", "-5"}}},
        {{"~file", "/tmp/r.csv"}, {{"FILE", "/tmp/r.csv"}}},
        {{"~file", ""}, {{"FILE", ""}}},
        {{"-file", "~x"}, {{"FILE", "~x"}}},
        {{"-file"}, {{"FILE", ""}}},
        {{"~file"}, {{"FILE", ""}}},
        {{"-email", "-file", "r.csv"}, {{"EMAIL", ""}, {"FILE", "r.csv"}}},
        // An empty argument is a value, and consumed.
        {{"-file", "", "-hours", "3"}, {{"FILE", ""}, {"HOURS", "3"}}},
        // A value with a marker inside is still a value.
        {{"-email", "a-b@x.com"}, {{"EMAIL", "a-b@x.com"}}},
        // A consumed value is not looked at again, even with a marker.
        {{"~email", "-hours", "-file", "x"}, {{"EMAIL", "-hours"}, {"FILE", "x"}}},
        // Arguments without a marker are skipped.
        {{"?", "stray", "-hours", "3", "more"}, {{"HOURS", "3"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parse(c.args), c.expected) << ::testing::PrintToString(c.args);
    }
}

TEST(ParseCommandLine, KeepsEveryOccurrenceInCommandLineOrder) {
    int count = 0;
    const Entries entries =
        Parse({"-hours", "2", "/file", "a", "-HOURS", "8", "~Hours", "-1"}, &count);
    EXPECT_EQ(entries, (Entries{{"FILE", "a"}, {"HOURS", "2"}, {"HOURS", "8"}, {"HOURS", "-1"}}));
    EXPECT_EQ(count, 4);
}

TEST(ParseCommandLine, DoesNothingWithoutAMap) {
    char prog[] = "prog";
    char option[] = "-hours";
    char* argv[] = {prog, option, nullptr};
    EXPECT_EQ(ParseCommandLine(2, argv, nullptr), 0);
}

TEST(ParseCommandLine, CountsEntriesAlreadyInTheMap) {
    char prog[] = "prog";
    char option[] = "-file";
    char* argv[] = {prog, option, nullptr};
    OptionMap options{{"HOURS", "3"}};
    EXPECT_EQ(ParseCommandLine(2, argv, &options), 2);
}

}  // namespace
