#include "dbaccess/ConnectionPool.h"

#include <memory>
#include <string>
#include <vector>

#include <Poco/Exception.h>

#include "DbFixture.h"
#include "dbaccess/DatabaseName.h"
#include "dbaccess/MongoDBAccess.h"
#include "dbaccess/MongoDBSearch.h"

namespace {

using ConnectionPoolTest = DbFixture;

TEST_F(ConnectionPoolTest, SequentialRecordsShareOneConnection) {
    Server().Seed("mailbox", R"([{"_id": "101", "type": 5}, {"_id": "102", "type": 5}])");
    auto held = HoldIdleConnections();  // so that the first read has to connect
    const int before = Server().AcceptedConnections();

    // A report keeps its records alive: none of them may keep a connection.
    std::vector<std::unique_ptr<DBACCESS::MongoDBSearch>> searches;
    std::vector<std::unique_ptr<ProbeRecord>> records;
    for (int i = 0; i < 40; ++i) {
        searches.push_back(std::make_unique<DBACCESS::MongoDBSearch>("mailbox"));
        EXPECT_EQ(searches.back()->Find("_id", {"_id", "type"}).size(), 2u);
        EXPECT_FALSE(searches.back()->IsConnected());
        records.push_back(std::make_unique<ProbeRecord>("mailbox"));
        EXPECT_EQ(records.back()->ReadAll(), 2);
        EXPECT_FALSE(records.back()->IsConnected());
    }
    EXPECT_TRUE(Eventually([&] { return Server().AcceptedConnections() - before == 1; }));
    EXPECT_EQ(Server().AcceptedConnections() - before, 1);
    EXPECT_EQ(RequestsOf("query").size(), 80u);
}

TEST_F(ConnectionPoolTest, KeepsSixteenIdleAndClosesTheSeventeenth) {
    auto held = HoldIdleConnections();
    const int before = Server().AcceptedConnections();
    std::vector<std::unique_ptr<ProbeRecord>> records;
    for (int i = 0; i < 17; ++i) {
        records.push_back(std::make_unique<ProbeRecord>());
        ASSERT_TRUE(records.back()->Connect());
    }
    held.clear();
    // The server accepts a connection a moment after its connect.
    EXPECT_TRUE(Eventually([&] { return Server().AcceptedConnections() - before == 17; }));
    EXPECT_EQ(Server().OpenConnections(), 17 + static_cast<int>(IdleConnections()));

    records.clear();
    EXPECT_EQ(IdleConnections(), 16u);
    EXPECT_TRUE(Eventually([] { return Server().OpenConnections() == 16; }))
        << "open: " << Server().OpenConnections();

    // The sixteen kept ones serve the next borrowers without a connect.
    for (int i = 0; i < 16; ++i) {
        records.push_back(std::make_unique<ProbeRecord>());
        ASSERT_TRUE(records.back()->Connect());
        EXPECT_EQ(records.back()->ReadAll(), 0);
    }
    EXPECT_EQ(Server().AcceptedConnections() - before, 17);
}

TEST_F(ConnectionPoolTest, StoppedServerGivesNullWithTheRefusalText) {
    Server().Seed("mailbox", R"([{"_id": "101", "type": 5}])");
    auto held = HoldIdleConnections();
    Server().StopListening();

    DBACCESS::MongoDBAccess access;
    EXPECT_TRUE(access.GetConnection().isNull());
    EXPECT_EQ(access.LastError(), "Connection refused: 127.0.0.1:27017");

    DBACCESS::MongoDBSearch search("mailbox");
    DBACCESS::SearchHits hits;
    EXPECT_NO_THROW(hits = search.Find("_id", {"type"}));
    EXPECT_TRUE(hits.empty());
    EXPECT_EQ(search.Access().LastError(), "Connection refused: 127.0.0.1:27017");

    ProbeRecord record("mailbox");
    EXPECT_FALSE(record.Connect());
    EXPECT_EQ(record.Access().LastError(), "Connection refused: 127.0.0.1:27017");

    // The next call tries again, and works once the server is back.
    Server().StartListening();
    EXPECT_TRUE(record.Connect());
    EXPECT_TRUE(record.Access().LastError().empty());
}

TEST_F(ConnectionPoolTest, EmptyDatabaseNameMakesNoConnectAttempt) {
    auto held = HoldIdleConnections();
    const int before = Server().AcceptedConnections();
    const std::size_t pooled = DBACCESS::ConnectionPool.size();
    DBACCESS::DatabaseName.clear();

    ProbeRecord record;
    EXPECT_FALSE(record.Connect());
    EXPECT_TRUE(record.Access().LastError().empty());
    DBACCESS::MongoDBSearch search("mailbox");
    EXPECT_TRUE(search.Find("_id", {"type"}).empty());

    DBACCESS::DatabaseName = "kelden";
    EXPECT_EQ(DBACCESS::ConnectionPool.size(), pooled);
    EXPECT_EQ(Server().AcceptedConnections(), before);
}

TEST_F(ConnectionPoolTest, ReleasingNullDoesNothing) {
    const std::size_t pooled = DBACCESS::ConnectionPool.size();
    const std::size_t idle = IdleConnections();
    DBACCESS::MongoDBAccess access;
    access.ReleaseConnection(DBACCESS::GuardedConnection::Ptr());
    access.DiscardConnection(DBACCESS::GuardedConnection::Ptr());
    EXPECT_EQ(DBACCESS::ConnectionPool.size(), pooled);
    EXPECT_EQ(IdleConnections(), idle);
    EXPECT_TRUE(access.LastError().empty());
}

TEST_F(ConnectionPoolTest, CopiedRecordHoldsNoConnection) {
    ProbeRecord record;
    ASSERT_TRUE(record.Connect());
    ProbeRecord copy(record);
    EXPECT_FALSE(copy.IsConnected());
    ProbeRecord assigned;
    assigned = record;
    EXPECT_FALSE(assigned.IsConnected());
    EXPECT_TRUE(record.IsConnected());
}

}  // namespace
