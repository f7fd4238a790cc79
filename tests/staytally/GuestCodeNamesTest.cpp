#include "staytally/GuestCodeNames.h"

#include <string>

#include <gtest/gtest.h>

namespace {

TEST(GuestCodeNamesTest, NamesAtTheEdgesOfEachTable) {
    const struct {
        std::string (*name)(int);
        int code;
        std::string text;
    } cases[] = {
        {GuestActivityName, 1, "MWI on"},
        {GuestActivityName, 12, "Message sent"},
        {GuestActivityName, 21, "Check in"},
        {GuestActivityName, 35, "Message scheduled"},
        {GuestActivityName, 0, "Unknown (0)"},
        {GuestActivityName, 36, "Unknown (36)"},
        {GuestActivityName, 40, "Unknown (40)"},
        {GuestActivityName, -3, "Unknown (-3)"},
        {GuestMethodName, 0, "N/A"},
        {GuestMethodName, 1, "Telephone"},
        {GuestMethodName, 16, "IP Office"},
        {GuestMethodName, 30, "Wardly"},
        {GuestMethodName, 31, "Unknown (31)"},
        {GuestMethodName, -1, "Unknown (-1)"},
        {GuestResultName, 0, "Success"},
        {GuestResultName, 3, "Not answered"},
        {GuestResultName, 10, "Email"},
        {GuestResultName, 11, "Unknown (11)"},
        {GuestResultName, -2147483647 - 1, "Unknown (-2147483648)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.name(c.code), c.text) << c.code;
    }
}

}  // namespace
