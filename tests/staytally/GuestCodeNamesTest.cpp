#include "staytally/GuestCodeNames.h"

#include <string>

#include <gtest/gtest.h>

#include "reportframe/ReportStrings.h"
#include "support/CodeNameTable.h"

namespace {

// Each table whole, in code order from its first code.
TEST(GuestCodeNamesTest, EveryNameOfEachTable) {
    ReportStrings.clear();
    TESTSUPPORT::ExpectCodeNames(GuestActivityName, 1,
                                 {"MWI on",
                                  "MWI off",
                                  "Wakeup call",
                                  "Notification",
                                  "Alert operator",
                                  "EAS",
                                  "Callout",
                                  "Login",
                                  "Logout",
                                  "Created",
                                  "Deleted",
                                  "Message sent",
                                  "Message delivered",
                                  "Message listen",
                                  "Message deleted",
                                  "Message moved",
                                  "Message recovered",
                                  "Message forward",
                                  "Message reply",
                                  "Message saved",
                                  "Check in",
                                  "Check out",
                                  "Guest update",
                                  "Wakeup scheduled",
                                  "Wakeup cancelled",
                                  "Text count",
                                  "Moved",
                                  "Password change",
                                  "PBX change",
                                  "Room purge",
                                  "Message delivery",
                                  "Message notification",
                                  "Wellness check",
                                  "Mailbox saved",
                                  "Message scheduled"});
    TESTSUPPORT::ExpectCodeNames(
        GuestMethodName, 0,
        {"N/A",      "Telephone", "Serial",         "SIP",      "SIPX",         "SIPG",
         "TAPI",     "CLAN",      "Other",          "PMS",      "Quillon",      "Guest",
         "Phone",    "System",    "Cisco",          "HTTPPost", "IP Office",    "Metaswitch",
         "ShoreTel", "Siemens",   "Panasonic",      "PBX",      "ACM",          "Mitel",
         "RESTAPI",  "Email",     "Administration", "Template", "Switchbridge", "Message Delivery",
         "Wardly"});
    TESTSUPPORT::ExpectCodeNames(
        GuestResultName, 0,
        {"Success", "Answered", "Busy", "Not answered", "No line", "No response", "Failed",
         "Timeout", "Not configured", "Voicemail", "Email"});
}

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
