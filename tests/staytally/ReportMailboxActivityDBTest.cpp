#include "staytally/ReportMailboxActivityDB.h"

#include <memory_resource>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GuestFixtures.h"
#include "staytally/FindReportMailboxActivities.h"
#include "support/TestServer.h"

namespace {

const char kFrom[] = "20240411000000000";
const char kTo[] = "20240411235959999";

class ActivityRecordTest : public ::testing::Test {
protected:
    void SetUp() override { Server().Reset(); }
    static TESTSUPPORT::TestServer& Server() { return TESTSUPPORT::TestServer::Get(); }

    static std::size_t QueriesSent() {
        std::size_t queries = 0;
        for (const std::string& request : Server().Requests()) {
            queries += request.find("\"op\": \"query\"") != std::string::npos;
        }
        return queries;
    }
};

TEST_F(ActivityRecordTest, WindowIncludesBothBoundsOnly) {
    Server().Seed("reportmbactivity",
                  "[" + Activity("65f3000000000000000000a1", "20240410235959999").ToJson() + ", " +
                      Activity("65f3000000000000000000a2", kFrom).ToJson() + ", " +
                      Activity("65f3000000000000000000a3", "20240411120000000").ToJson() + ", " +
                      Activity("65f3000000000000000000a4", kTo).ToJson() + ", " +
                      Activity("65f3000000000000000000a5", "20240412000000000").ToJson() + ", " +
                      "{\"_id\": {\"$oid\": \"65f3000000000000000000a6\"}, \"mailbox\": \"101\"}]");
    const ReportMailboxActivities found = FindReportMailboxActivities(
        kFrom, kTo, "reportmbactivity", std::pmr::new_delete_resource());
    std::vector<std::string> ids;
    for (const auto& entry : found) {
        ids.push_back(entry.first);
        EXPECT_EQ(entry.second.id, entry.first);
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"65f3000000000000000000a2", "65f3000000000000000000a3",
                                             "65f3000000000000000000a4"}));
    // One query for the window, one read per hit.
    EXPECT_EQ(QueriesSent(), 4u);
}

TEST_F(ActivityRecordTest, StoredValuesGoThroughTheFieldRules) {
    struct Case {
        const char* what;
        const char* members;  // after "_id"
        std::string (*value)(const DBACCESS::ReportMailboxActivityDB&);
        std::string expected;
    } const cases[] = {
        {"mailbox cut to 20", R"("mailbox": "1234567890123456789012345")",
         [](const DBACCESS::ReportMailboxActivityDB& r) { return r.mailbox.Get(); },
         "12345678901234567890"},
        {"quotes dropped from detail", R"("detail": "Lamp \"on\" `now`")",
         [](const DBACCESS::ReportMailboxActivityDB& r) { return r.detail.Get(); }, "Lamp on now"},
        {"activity as int32", R"("activity": 12)",
         [](const DBACCESS::ReportMailboxActivityDB& r) {
             return std::to_string(r.activity.value);
         },
         "12"},
        {"activity as text", R"("activity": "12")",
         [](const DBACCESS::ReportMailboxActivityDB& r) {
             return std::to_string(r.activity.value);
         },
         "12"},
        {"message file without its folder", R"("msgfile": "D:\\msgs\\guest 101.wav")",
         [](const DBACCESS::ReportMailboxActivityDB& r) { return r.msgfile.Get(); },
         "guest 101.wav"},
        {"timestamp digits only", R"("timestamp": "2024-04-11 09:15")",
         [](const DBACCESS::ReportMailboxActivityDB& r) { return r.timestamp.Get(); },
         "202404110915"},
        {"unknown field kept aside", R"("source": "pms", "line": 4)",
         [](const DBACCESS::ReportMailboxActivityDB& r) {
             return r.UndeclaredFields().at("source").value.Get() + "/" +
                    std::to_string(r.line.value);
         },
         "pms/4"},
    };
    for (const Case& c : cases) {
        Server().Reset();
        Server().Seed("reportmbactivity",
                      std::string("[{\"_id\": {\"$oid\": \"65f3000000000000000000b1\"}, ") +
                          c.members + "}]");
        DBACCESS::ReportMailboxActivityDB record;
        std::string error = "stale";
        ASSERT_EQ(record.Read("65f3000000000000000000b1", error), 0) << c.what;
        EXPECT_EQ(error, "");
        EXPECT_EQ(c.value(record), c.expected) << c.what;
    }
}

TEST_F(ActivityRecordTest, ReadsThatFindNothing) {
    Server().Seed("reportmbactivity",
                  "[" + Activity("65f3000000000000000000c1", kFrom).ToJson() + "]");
    struct Case {
        const char* id;
        int result;
    } const cases[] = {
        {"", -50},
        {"65f3000000000000000000c2", -47},
        {"65f3-not-an-object-id!!", -47},
        {"c1", -47},
    };
    for (const Case& c : cases) {
        DBACCESS::ReportMailboxActivityDB record;
        std::string error;
        EXPECT_EQ(record.Read(c.id, error), c.result) << c.id;
        EXPECT_EQ(record.id, "") << c.id;
        EXPECT_EQ(record.mailbox.Get(), "") << c.id;
        EXPECT_EQ(record.timestamp.Get().size(), 17u) << c.id;  // the time of the Clear
    }
    // Only the well-formed unknown id was asked for.
    EXPECT_EQ(QueriesSent(), 1u);
}

}  // namespace
