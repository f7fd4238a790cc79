#include "dawntally/WakeupCodeNames.h"

#include <string>

#include <gtest/gtest.h>

#include "reportframe/ReportStrings.h"

namespace {

TEST(WakeupCodeNamesTest, CodesInAndOutOfTheTables) {
    ReportStrings.clear();
    struct Case {
        std::string (*name)(int);
        int code;
        const char* expected;
    } const cases[] = {
        {WakeupActionName, 0, "Scheduled"},
        {WakeupActionName, 1, "Canceled"},
        {WakeupActionName, 2, "Called Guest"},
        {WakeupActionName, 3, "Called Operator"},
        {WakeupActionName, 4, "Alert stopped"},
        {WakeupActionName, 5, "Stopped"},
        {WakeupActionName, 6, "Check out"},
        {WakeupActionName, 7, "Reset"},
        {WakeupActionName, 8, "Alert scheduled"},
        {WakeupActionName, 9, "Alert email"},
        {WakeupActionName, 10, "Alert call"},
        {WakeupActionName, 11, "Operator performed call"},
        {WakeupActionName, 12, "Unknown (12)"},
        {WakeupActionName, -1, "Unknown (-1)"},
        {WakeupResultName, 0, "Success"},
        {WakeupResultName, 1, "Answered"},
        {WakeupResultName, 2, "Snoozed"},
        {WakeupResultName, 3, "Not answered"},
        {WakeupResultName, 4, "Busy"},
        {WakeupResultName, 5, "Voicemail"},
        {WakeupResultName, 6, "No Line"},
        {WakeupResultName, 7, "Invalid"},
        {WakeupResultName, 8, "Canceled"},
        {WakeupResultName, 9, "Archived"},
        {WakeupResultName, 10, "Failed"},
        {WakeupResultName, 11, "Maximum Attempts"},
        {WakeupResultName, 12, "Unknown (12)"},
        {WakeupResultName, -1, "Unknown (-1)"},
        {WakeupSourceName, 0, "Guest"},
        {WakeupSourceName, 1, "Administrator (telephone)"},
        {WakeupSourceName, 2, "Administration"},
        {WakeupSourceName, 3, "3"},
        {WakeupSourceName, 4, "Quillon"},
        {WakeupSourceName, 5, "PMS"},
        {WakeupSourceName, 6, "System"},
        {WakeupSourceName, 7, "User"},
        {WakeupSourceName, 8, "User (telephone)"},
        {WakeupSourceName, 9, "User (telephone)"},
        {WakeupSourceName, 10, "User (test application)"},
        {WakeupSourceName, 11, "CAS"},
        {WakeupSourceName, 12, "12"},
        {WakeupSourceName, -1, "-1"},
        {WakeupSourceName, -2147483647 - 1, "-2147483648"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.name(c.code), c.expected) << c.code;
    }
}

}  // namespace
