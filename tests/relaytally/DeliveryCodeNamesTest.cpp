#include "relaytally/DeliveryCodeNames.h"

#include <string>

#include <gtest/gtest.h>

#include "reportframe/ReportStrings.h"
#include "support/CodeNameTable.h"

namespace {

TEST(DeliveryCodeNamesTest, CodesInAndOutOfTheTables) {
    ReportStrings.clear();
    struct Case {
        std::string (*name)(int);
        int code;
        const char* expected;
    } const cases[] = {
        {DeliveryActivityName, 1, "Scheduled"},
        {DeliveryActivityName, 2, "Voice message"},
        {DeliveryActivityName, 8, "No Answer"},
        {DeliveryActivityName, 9, "Callout max attempts"},
        {DeliveryActivityName, 10, "Deleted by checkout"},
        {DeliveryActivityName, 0, "Unknown (0)"},
        {DeliveryActivityName, 11, "Unknown (11)"},
        {DeliveryActivityName, -3, "Unknown (-3)"},
        {DeliveryTypeName, 0, "Message"},
        {DeliveryTypeName, 1, "Callout"},
        {DeliveryTypeName, 2, "Checkout Message"},
        {DeliveryTypeName, 3, "Wellness Check"},
        {DeliveryTypeName, 4, "Unknown (4)"},
        {DeliveryTypeName, 5, "Unknown (5)"},
        {DeliveryTypeName, -1, "Unknown (-1)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.name(c.code), c.expected) << c.code;
    }
}

// Each table whole, in code order from its first code.
TEST(DeliveryCodeNamesTest, EveryLabelOfEachTable) {
    ReportStrings.clear();
    TESTSUPPORT::ExpectCodeNames(
        DeliveryActivityName, 1,
        {"Scheduled", "Voice message", "Listened", "Saved", "Deleted", "Expired", "Cancelled",
         "No Answer", "Callout max attempts", "Deleted by checkout"});
    TESTSUPPORT::ExpectCodeNames(DeliveryTypeName, 0,
                                 {"Message", "Callout", "Checkout Message", "Wellness Check"});
}

}  // namespace
