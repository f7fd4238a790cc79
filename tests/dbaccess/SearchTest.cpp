#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <Poco/Exception.h>

#include "DbFixture.h"
#include "dbaccess/MongoDBSearch.h"

namespace {

using DBACCESS::MongoDBSearch;
using DBACCESS::SearchHits;

// (key, the hit's "n" text) in result order.
std::vector<std::pair<std::string, std::string>> KeysAndNumbers(const SearchHits& hits) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& hit : hits) {
        const auto n = hit.second.find("n");
        out.emplace_back(hit.first, n == hit.second.end() ? "-" : n->second.value.Get());
    }
    return out;
}

using SearchTest = DbFixture;

TEST_F(SearchTest, SendsExactlyTheSelectorProjectionAndBatchSize) {
    struct Case {
        const char* name;
        SearchHits (*run)(MongoDBSearch&);
        const char* request;  // "" when nothing may be sent
    };
    const Case cases[] = {
        {"Find",
         [](MongoDBSearch& s) {
             return s.Find("name", {"_id", "tenantid"});
         },
         R"({"op": "query", "ns": "kelden.activity", "query": {"$query": {}}, )"
         R"("fields": {"_id": 1, "tenantid": 1, "name": 1}, "skip": 0, "limit": 100, "flags": 0})"},
        {"FindEqual",
         [](MongoDBSearch& s) {
             return s.FindEqual("_id", "tenantid", "7", {"_id", "room.roomid"});
         },
         R"({"op": "query", "ns": "kelden.activity", "query": {"tenantid": "7"}, )"
         R"("fields": {"_id": 1, "room.roomid": 1}, "skip": 0, "limit": 15000, "flags": 0})"},
        {"FindRange both bounds",
         [](MongoDBSearch& s) { return s.FindRange("timestamp", "20260101", "20260102", {"_id"}); },
         R"({"op": "query", "ns": "kelden.activity", )"
         R"("query": {"timestamp": {"$gte": "20260101", "$lte": "20260102"}}, )"
         R"("fields": {"_id": 1, "timestamp": 1}, "skip": 0, "limit": 100, "flags": 0})"},
        {"FindRange lower bound",
         [](MongoDBSearch& s) { return s.FindRange("timestamp", "20260101", "", {"timestamp"}); },
         R"({"op": "query", "ns": "kelden.activity", "query": {"timestamp": {"$gte": "20260101"}}, )"
         R"("fields": {"timestamp": 1}, "skip": 0, "limit": 100, "flags": 0})"},
        {"FindRange upper bound",
         [](MongoDBSearch& s) { return s.FindRange("timestamp", "", "20260102", {"_id"}); },
         R"({"op": "query", "ns": "kelden.activity", "query": {"timestamp": {"$lte": "20260102"}}, )"
         R"("fields": {"_id": 1, "timestamp": 1}, "skip": 0, "limit": 100, "flags": 0})"},
        {"FindRange no bound",
         [](MongoDBSearch& s) { return s.FindRange("timestamp", "", "", {"_id"}); }, ""},
        {"Find without fields", [](MongoDBSearch& s) { return s.Find("_id", {}); }, ""},
        {"FindEqual without fields",
         [](MongoDBSearch& s) { return s.FindEqual("_id", "a", "b", {}); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Server().Reset();
        MongoDBSearch search("activity");
        EXPECT_TRUE(c.run(search).empty());
        EXPECT_FALSE(search.IsConnected());
        const std::vector<std::string> requests = Server().Requests();
        if (*c.request == '\0') {
            EXPECT_TRUE(requests.empty());
        } else {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(WithoutConnection(requests[0]), c.request);
        }
    }
}

TEST_F(SearchTest, EmptyFieldSetSendsNothingEvenWithTheServerDown) {
    auto held = HoldIdleConnections();
    Server().StopListening();
    MongoDBSearch search("activity");
    EXPECT_TRUE(search.Find("_id", {}).empty());
    EXPECT_TRUE(search.FindRange("timestamp", "1", "2", {}).empty());
    // Nothing was borrowed, so nothing failed.
    EXPECT_TRUE(search.Access().LastError().empty());
}

// Documents {"_id": i, "n": "<i>", "group": "g"} for i in [0, count).
std::string Numbered(int count) {
    std::string json = "[";
    for (int i = 0; i < count; ++i) {
        if (i) json += ",";
        json += R"({"_id": )" + std::to_string(i) + R"(, "n": ")" + std::to_string(i) +
                R"(", "group": "g"})";
    }
    return json + "]";
}

TEST_F(SearchTest, CollectsEveryReplyBatch) {
    Server().Seed("activity", Numbered(250));
    MongoDBSearch search("activity");
    const SearchHits hits = search.Find("n", {"n"});
    EXPECT_EQ(hits.size(), 250u);
    EXPECT_EQ(RequestsOf("getmore").size(), 2u);
    EXPECT_EQ(hits.count("249"), 1u);
}

TEST_F(SearchTest, EqualSearchCollectsBatchesOfFifteenThousand) {
    Server().Seed("activity", Numbered(15250));
    MongoDBSearch search("activity");
    const SearchHits hits = search.FindEqual("group", "group", "g", {"n"});
    ASSERT_EQ(hits.size(), 15250u);
    const std::vector<std::string> more = RequestsOf("getmore");
    ASSERT_EQ(more.size(), 1u);
    EXPECT_NE(more[0].find(R"("limit": 15000)"), std::string::npos) << more[0];
    // All under one key, in the order the server sent them.
    const auto range = hits.equal_range("g");
    int expected = 0;
    for (auto hit = range.first; hit != range.second; ++hit, ++expected)
        ASSERT_EQ(hit->second.at("n").value.Get(), std::to_string(expected));
}

TEST_F(SearchTest, KeysAreTrimmedAndEqualKeysKeepServerOrder) {
    Server().Seed("activity", R"([
    {"_id": 1, "n": "1", "timestamp": "20260101000000000"},
    {"_id": 2, "n": "2", "timestamp": " 20251231000000000\t"},
    {"_id": 3, "n": "3", "timestamp": "20260101000000000"},
    {"_id": 4, "n": "4", "timestamp": "   "},
    {"_id": 5, "n": "5"},
    {"_id": 6, "n": "6", "timestamp": "20260101000000000"}])");
    MongoDBSearch search("activity");
    EXPECT_EQ(KeysAndNumbers(search.Find("timestamp", {"n"})),
              (std::vector<std::pair<std::string, std::string>>{{"", "4"},
                                                                {"20251231000000000", "2"},
                                                                {"20260101000000000", "1"},
                                                                {"20260101000000000", "3"},
                                                                {"20260101000000000", "6"}}));
}

// A range seen hit by hit over several reply batches, sorted by key, gives
// the kept range search's hits in its order, equal keys included; the
// visits themselves come in the server's order.
TEST_F(SearchTest, RangeVisitedHitByHitSortsIntoTheKeptOrder) {
    std::string json = "[";
    for (int n = 0; n < 250; ++n) {
        json += std::string(n == 0 ? "" : ",") + R"({"_id": )" + std::to_string(n) + R"(, "n": ")" +
                std::to_string(n) + R"(", "timestamp": "2026010100000000)" +
                std::to_string(n * 7 % 13 % 10) + (n % 3 == 0 ? R"( "})" : R"("})");
    }
    Server().Seed("activity", json + "]");
    MongoDBSearch search("activity");
    const auto kept = KeysAndNumbers(
        search.FindRange("timestamp", "20260101000000000", "20260101000000009", {"n"}));

    std::vector<std::pair<std::string, std::string>> visited;
    std::vector<std::string> arrival;
    search.FindRangeEach("timestamp", "20260101000000000", "20260101000000009", {"n"},
                         [&](const std::string& key, DBACCESS::DocumentFields& hit) {
                             visited.emplace_back(key, hit.at("n").value.Get());
                             arrival.push_back(visited.back().second);
                         });
    ASSERT_EQ(RequestsOf("getmore").size(), 4u);  // each search three batches
    ASSERT_EQ(visited.size(), kept.size());
    EXPECT_TRUE(std::is_sorted(
        arrival.begin(), arrival.end(),
        [](const std::string& a, const std::string& b) { return std::stoi(a) < std::stoi(b); }));
    DBACCESS::SortByKey(visited);
    EXPECT_EQ(visited, kept);
}

TEST_F(SearchTest, IdIsRemovedUnlessAskedFor) {
    Server().Seed("tenant", R"([{"_id": "t1", "name": "North"}, {"_id": "t2", "name": "South"}])");
    MongoDBSearch search("tenant");
    const SearchHits without = search.Find("name", {"name"});
    ASSERT_EQ(without.size(), 2u);
    for (const auto& hit : without) EXPECT_EQ(hit.second.count("_id"), 0u) << hit.first;

    const SearchHits with = search.Find("name", {"_id", "name"});
    ASSERT_EQ(with.size(), 2u);
    EXPECT_EQ(with.find("North")->second.at("_id").value.Get(), "t1");

    // Removed before the key is looked up: nothing has a key left.
    EXPECT_TRUE(search.Find("_id", {"name"}).empty());
}

TEST_F(SearchTest, StringArraysBecomeIndexedFields) {
    Server().Seed("mailbox", R"([{"_id": "101", "tags": ["vip", "late"], "nums": [1, 2],
                               "extension": [{"definition": "201"}, {"definition": "202"}]}])");
    MongoDBSearch search("mailbox");
    const SearchHits hits = search.Find("_id", {"_id", "tags", "nums", "extension.definition"});
    ASSERT_EQ(hits.size(), 1u);
    std::vector<std::string> names;
    for (const auto& field : hits.begin()->second) names.push_back(field.first);
    EXPECT_EQ(names, (std::vector<std::string>{"_id", "extension.0.definition",
                                               "extension.1.definition", "tags.0", "tags.1"}));
    EXPECT_EQ(hits.begin()->second.at("tags.1").type, 2);
}

}  // namespace
