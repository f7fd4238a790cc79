#include "relaytally/LoadRecordingNumbers.h"

#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "RelayFixture.h"
#include "dbaccess/DatabaseException.h"
#include "dbaccess/MongoDBSearch.h"

namespace {

class LoadRecordingNumbersTest : public RelayFixture {};

using Values = std::multimap<std::string, std::string>;

TEST_F(LoadRecordingNumbersTest, NumbersAscendingWithoutDuplicates) {
    Server().Seed("recording", R"([
      {"_id": "a", "number": 5}, {"_id": "b", "number": 2}, {"_id": "c", "number": 5},
      {"_id": "d", "name": "no number"}, {"_id": "e", "number": "abc"},
      {"_id": "f", "number": "31st"}, {"_id": "g", "number": {"$numberLong": "40"}},
      {"_id": "h", "number": 2.5}
    ])");
    EXPECT_EQ(LoadRecordingNumbers("recording"), (std::set<int>{0, 2, 5, 31, 40}));

    // Only "number" is asked for, of every document.
    const auto queries = RequestsOf("query", "kelden.recording");
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_NE(queries[0].find("\"query\": {}"), std::string::npos) << queries[0];
    EXPECT_NE(queries[0].find("\"fields\": {\"number\": 1}"), std::string::npos) << queries[0];
}

TEST_F(LoadRecordingNumbersTest, EmptyWithoutRecordingsOrDatabase) {
    EXPECT_TRUE(LoadRecordingNumbers("recording").empty());
    DBACCESS::DatabaseName.clear();
    EXPECT_TRUE(LoadRecordingNumbers("recording").empty());
}

TEST_F(LoadRecordingNumbersTest, FindAllFollowsEveryBatch) {
    std::string documents = "[";
    for (int i = 0; i < 250; ++i) {
        documents += (i ? ", " : "") + std::string("{\"_id\": \"r") + std::to_string(i) +
                     "\", \"number\": " + std::to_string(1000 + i) + ", \"name\": \"x\"}";
    }
    Server().Seed("recording", documents + "]");
    Values values = {{"stale", "entry"}};
    DBACCESS::MongoDBSearch search("recording");
    search.FindAll(values, "number");
    ASSERT_EQ(values.size(), 250u);
    EXPECT_EQ(values.count("number"), 250u);  // "_id" is left out, "name" never asked for
    // In reply order among equal keys.
    EXPECT_EQ(values.begin()->second, "1000");
    EXPECT_EQ(values.rbegin()->second, "1249");
    EXPECT_FALSE(RequestsOf("getmore", "kelden.recording").empty());
    EXPECT_FALSE(search.IsConnected());
}

TEST_F(LoadRecordingNumbersTest, FindAllOfTheIdKeepsIt) {
    Server().Seed("recording",
                  R"([{"_id": "r1", "number": 1}, {"_id": {"$oid": "65f000000000000000000002"}}])");
    Values values;
    DBACCESS::MongoDBSearch("recording").FindAll(values, "_id");
    EXPECT_EQ(values, (Values{{"_id", "r1"}, {"_id", "65f000000000000000000002"}}));
}

TEST_F(LoadRecordingNumbersTest, ARefusedQueryRaisesInsteadOfGivingNoNumbers) {
    Server().Seed("recording", R"([{"_id": "a", "number": 5}])");
    Server().FailNextQuery("recording", "not authorized on kelden", 13);
    EXPECT_THROW(LoadRecordingNumbers("recording"), DBACCESS::DatabaseRefusedException);
    EXPECT_EQ(LoadRecordingNumbers("recording"), std::set<int>{5});
}

}  // namespace
