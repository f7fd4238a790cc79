#include "dawntally/FindWakeupLogIds.h"

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "WakeupFixture.h"
#include "dawntally/WakeupLogCollection.h"
#include "dbaccess/DatabaseName.h"

namespace {

using Ids = std::map<std::string, std::string>;

class FindWakeupLogIdsTest : public WakeupTest {};

TEST_F(FindWakeupLogIdsTest, EventsFromTheLowerBoundOnByIdWithTheirWakeupIds) {
    Seed({
        {Oid(9), "20240411060000000", "at-the-bound", ""},
        {Oid(3), "20240411055959999", "just-before", ""},
        {Oid(5), "20240411080000000", "", ""},  // no wake-up id
        {Oid(7), "20991231235959999", "far-ahead", ""},
        {Oid(2), "20240411070000000", " tie-a ", ""},
        {Oid(4), "20240411070000000", "tie-b", ""},
        {"plain-text-id", "20240411090000000", "text-id", ""},
        {Oid(6), "2024041107", "short-time", ""},
    });
    Server().Seed(WakeupLogCollection(), R"([{"_id": {"$oid": "65f200000000000000000008"},
        "timestamp": 20240411100000000, "wakeupid": "number-time"}])");

    // "timestamp" compares as text: a short text that sorts after the bound
    // is in; one stored as a number never matches a text bound.
    EXPECT_EQ(FindWakeupLogIds("20240411060000000", "", WakeupLogCollection()),
              (Ids{{Oid(2), "tie-a"},
                   {Oid(4), "tie-b"},
                   {Oid(6), "short-time"},
                   {Oid(7), "far-ahead"},
                   {Oid(9), "at-the-bound"},
                   {"plain-text-id", "text-id"}}));

    const auto queries = RequestsOf("query", "kelden.wakeuplog");
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_NE(queries[0].find("\"query\": {\"timestamp\": {\"$gte\": \"20240411060000000\"}}"),
              std::string::npos)
        << queries[0];
    EXPECT_NE(queries[0].find("\"fields\": {\"_id\": 1, \"wakeupid\": 1, \"timestamp\": 1}"),
              std::string::npos)
        << queries[0];
}

TEST_F(FindWakeupLogIdsTest, BothBoundsAndNoDatabase) {
    Seed({{Oid(1), "20240411060000000", "a", ""},
          {Oid(2), "20240411070000000", "b", ""},
          {Oid(3), "20240411080000000", "c", ""}});
    EXPECT_EQ(FindWakeupLogIds("20240411060000001", "20240411080000000", WakeupLogCollection()),
              (Ids{{Oid(2), "b"}, {Oid(3), "c"}}));
    EXPECT_TRUE(FindWakeupLogIds("", "", WakeupLogCollection()).empty());

    DBACCESS::DatabaseName.clear();
    EXPECT_TRUE(FindWakeupLogIds("20240411060000000", "", WakeupLogCollection()).empty());
}

}  // namespace
