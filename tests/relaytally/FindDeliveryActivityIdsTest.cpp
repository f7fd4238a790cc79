#include "relaytally/FindDeliveryActivityIds.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RelayFixture.h"

namespace {

class FindDeliveryActivityIdsTest : public RelayFixture {};

using Ids = std::vector<std::string>;

TEST_F(FindDeliveryActivityIdsTest, ReadableDeliveriesOfTheWindowInTimestampOrder) {
    Server().Seed("mdsactivity", R"([
      {"_id": "late", "timestamp": "20240411120000000"},
      {"_id": "tie-b", "timestamp": "20240411100000000"},
      {"_id": "early", "timestamp": "20240411080000000"},
      {"_id": "tie-a", "timestamp": "20240411100000000"},
      {"_id": "before", "timestamp": "20240411075959999"},
      {"_id": "after", "timestamp": "20240411120000001"},
      {"_id": {"$oid": "65f000000000000000000003"}, "timestamp": "20240411090000000"},
      {"_id": "untimed"},
      {"_id": " padded ", "timestamp": "20240411110000000"}
    ])");
    // Both bounds belong to the window; equal time stamps keep the server's
    // order; a delivery that cannot be read by its id is left out, and one
    // is read by its id as stored.
    EXPECT_EQ(FindDeliveryActivityIds("20240411120000000", "20240411080000000"),
              (Ids{"early", "tie-b", "tie-a", " padded ", "late"}));

    const auto queries = RequestsOf("query", "kelden.mdsactivity");
    ASSERT_FALSE(queries.empty());
    EXPECT_NE(queries[0].find("\"query\": {\"timestamp\": {\"$gte\": \"20240411080000000\", "
                              "\"$lte\": \"20240411120000000\"}}"),
              std::string::npos)
        << queries[0];
    EXPECT_NE(queries[0].find("\"fields\": {\"_id\": 1, \"timestamp\": 1}"), std::string::npos)
        << queries[0];
}

TEST_F(FindDeliveryActivityIdsTest, OpenBoundsReachNowAndTheBeginning) {
    const std::string soon = DbTimeAgo(0).substr(0, 8) + "235959999";
    Server().Seed("mdsactivity",
                  "[{\"_id\": \"old\", \"timestamp\": \"19990101000000000\"},"
                  " {\"_id\": \"recent\", \"timestamp\": \"" +
                      DbTimeAgo(60) +
                      "\"},"
                      " {\"_id\": \"future\", \"timestamp\": \"" +
                      soon + "\"}]");
    const std::string before = DbTimeAgo(0);
    const Ids ids = FindDeliveryActivityIds("", "");
    const std::string after = DbTimeAgo(0);
    EXPECT_EQ(ids, (Ids{"old", "recent"}));

    // Only the upper bound is sent, and it is the time of the call.
    const auto queries = RequestsOf("query", "kelden.mdsactivity");
    ASSERT_FALSE(queries.empty());
    const std::string& query = queries[0];
    const std::string lte = "{\"timestamp\": {\"$lte\": \"";
    const auto at = query.find(lte);
    ASSERT_NE(at, std::string::npos) << query;
    const std::string upper = query.substr(at + lte.size(), 17);
    EXPECT_LE(before, upper);
    EXPECT_LE(upper, after);
    EXPECT_EQ(query.find("$gte"), std::string::npos) << query;
}

TEST_F(FindDeliveryActivityIdsTest, NothingWithoutADatabase) {
    Server().Seed("mdsactivity", R"([{"_id": "d", "timestamp": "20240411100000000"}])");
    DBACCESS::DatabaseName.clear();
    EXPECT_TRUE(FindDeliveryActivityIds("20240411120000000", "").empty());
}

}  // namespace
