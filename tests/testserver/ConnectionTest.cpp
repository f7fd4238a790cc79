#include <chrono>
#include <iostream>
#include <memory>
#include <thread>

#include <Poco/MongoDB/InsertRequest.h>
#include <Poco/MongoDB/ObjectId.h>
#include <Poco/Net/NetException.h>

#include "ServerFixture.h"

using Poco::MongoDB::Connection;
using Poco::MongoDB::QueryRequest;
using Poco::MongoDB::ResponseMessage;

namespace {

using ConnectionTest = ServerFixture;

std::size_t CountAll(Connection& connection, const std::string& ns) {
    QueryRequest request(ns);
    ResponseMessage response;
    connection.sendRequest(request, response);
    return response.documents().size();
}

TEST_F(ConnectionTest, CountsOpenAndAcceptedConnections) {
    ASSERT_TRUE(Server().WaitForOpenConnections(0));
    std::vector<Connection::Ptr> connections;
    for (int i = 0; i < 3; ++i) connections.push_back(Connect());
    EXPECT_TRUE(Server().WaitForOpenConnections(3));
    EXPECT_TRUE(Server().WaitForAcceptedConnections(3));

    connections.pop_back();
    EXPECT_TRUE(Server().WaitForOpenConnections(2));
    EXPECT_EQ(Server().AcceptedConnections(), 3);

    // Reset starts the accepted count again; open connections stay counted.
    Server().Reset();
    EXPECT_EQ(Server().AcceptedConnections(), 0);
    EXPECT_EQ(Server().OpenConnections(), 2);
    connections.push_back(Connect());
    EXPECT_TRUE(Server().WaitForAcceptedConnections(1));
    EXPECT_TRUE(Server().WaitForOpenConnections(3));
    // A wait that cannot be met gives up and reports the count it saw.
    EXPECT_FALSE(Server().WaitForOpenConnections(7, 50));
}

TEST_F(ConnectionTest, ServesManyConnectionsAtOnce) {
    SeedNumbered("mailbox", 250);
    const int clients = 120;
    std::vector<Connection::Ptr> connections;
    for (int i = 0; i < clients; ++i) connections.push_back(Connect());
    ASSERT_TRUE(Server().WaitForOpenConnections(clients));

    // Every client walks the whole collection at the same time as the others.
    std::vector<std::size_t> seen(clients, 0);
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&, i] {
            try {
                Poco::MongoDB::Cursor cursor("kelden", "mailbox");
                cursor.query().setNumberToReturn(7);
                for (;;) {
                    ResponseMessage& response =
                        cursor.next(*connections[static_cast<std::size_t>(i)]);
                    seen[static_cast<std::size_t>(i)] += response.documents().size();
                    if (response.cursorID() == 0) break;
                }
            } catch (const Poco::Exception&) {
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(seen, std::vector<std::size_t>(clients, 250u));
    EXPECT_EQ(Server().AcceptedConnections(), clients);
    connections.clear();
    EXPECT_TRUE(Server().WaitForOpenConnections(0));
}

TEST_F(ConnectionTest, StoppedServerRefusesNewConnectionsOnly) {
    Server().Seed("mailbox", R"([{"_id": 1}])");
    Connection::Ptr early = Connect();
    Server().StopListening();
    EXPECT_THROW(Connect(), Poco::Net::ConnectionRefusedException);
    EXPECT_EQ(CountAll(*early, "kelden.mailbox"), 1u);

    Server().StartListening();
    EXPECT_EQ(CountAll(*Connect(), "kelden.mailbox"), 1u);

    Server().StopListening();
    Server().Reset();  // a reset listens again
    EXPECT_NO_THROW(Connect());
}

TEST_F(ConnectionTest, StuckServerNeitherAcceptsNorRefuses) {
    Server().Seed("mailbox", R"([{"_id": 1}])");
    Connection::Ptr early = Connect();
    Server().StopAccepting();
    Poco::Net::StreamSocket waiting;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(waiting.connect(Poco::Net::SocketAddress(TESTSUPPORT::TestServer::kHost,
                                                          TESTSUPPORT::TestServer::kPort),
                                 Poco::Timespan(0, 500000)),
                 Poco::TimeoutException);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(450));
    EXPECT_EQ(CountAll(*early, "kelden.mailbox"), 1u);
    Server().StartListening();
    EXPECT_EQ(CountAll(*Connect(), "kelden.mailbox"), 1u);
}

TEST_F(ConnectionTest, NewerServerRefusesTheLegacyProtocolButTheHandshake) {
    Server().Seed("mailbox", R"([{"_id": 1}])");
    Server().RefuseLegacyOpcodes();
    Connection::Ptr connection = Connect();
    QueryRequest find("kelden.mailbox");
    EXPECT_EQ(ReplyFlags(find) & 2, 2);  // QueryFailure
    ResponseMessage refused;
    connection->sendRequest(find, refused);
    ASSERT_EQ(refused.documents().size(), 1u);
    EXPECT_EQ(
        refused.documents()[0]->get<std::string>("$err").rfind(
            "Unsupported OP_QUERY command: find. The client driver may require an upgrade.", 0),
        0u);
    EXPECT_EQ(refused.documents()[0]->get<Poco::Int32>("code"), 352);

    Poco::MongoDB::Database database("kelden");
    Poco::SharedPtr<QueryRequest> hello = database.createCommand();
    hello->selector().add("isMaster", 1);
    ResponseMessage answer;
    connection->sendRequest(*hello, answer);
    ASSERT_EQ(answer.documents().size(), 1u);
    EXPECT_EQ(answer.documents()[0]->get<bool>("ismaster"), true);

    // A legacy insert is ignored, and the write check after it refused.
    Poco::SharedPtr<Poco::MongoDB::InsertRequest> insert = database.createInsertRequest("mailbox");
    insert->addNewDocument().add("_id", 2);
    connection->sendRequest(*insert);
    EXPECT_EQ(database.getLastErrorDoc(*connection)
                  ->get<std::string>("$err")
                  .rfind("Unsupported OP_QUERY command: getLastError.", 0),
              0u);
    EXPECT_EQ(Server().Documents("mailbox"), R"([{"_id": 1}])");

    Server().Reset();  // ends the refusal
    EXPECT_EQ(CountAll(*connection, "kelden.mailbox"), 0u);
}

TEST_F(ConnectionTest, FailNextQueryAnswersOneErrorDocumentOnItsCollection) {
    Server().Seed("mailbox", R"([{"_id": 1}])");
    Server().Seed("tenant", R"([{"_id": 1}])");
    Server().FailNextQuery("mailbox", "not master", 10107);
    Connection::Ptr connection = Connect();

    EXPECT_EQ(CountAll(*connection, "kelden.tenant"), 1u);
    QueryRequest request("kelden.mailbox");
    ResponseMessage failed;
    connection->sendRequest(request, failed);
    ASSERT_EQ(failed.documents().size(), 1u);
    EXPECT_EQ(failed.documents()[0]->get<std::string>("$err"), "not master");
    EXPECT_EQ(failed.documents()[0]->get<Poco::Int32>("code"), 10107);
    EXPECT_EQ(failed.cursorID(), 0);
    EXPECT_EQ(CountAll(*connection, "kelden.mailbox"), 1u);  // only the next one

    Server().FailNextQuery("", "any", 1);
    QueryRequest flagged("kelden.tenant");
    EXPECT_EQ(ReplyFlags(flagged) & 2, 2);  // QueryFailure
}

TEST_F(ConnectionTest, FailNextQueryOnCommandsHitsTheNextCommand) {
    Connection::Ptr connection = Connect();
    Poco::MongoDB::Database database("kelden");
    Server().FailNextQuery("", "queries only", 1);
    Server().FailNextQuery("$cmd", "command refused", 13);
    Poco::MongoDB::Document::Ptr reply = database.getLastErrorDoc(*connection);
    ASSERT_FALSE(reply.isNull());
    EXPECT_EQ(reply->get<std::string>("$err"), "command refused");
    // The driver takes an error document for "no error".
    EXPECT_EQ(database.getLastError(*connection), "");
    EXPECT_EQ(CountAll(*connection, "kelden.x"), 1u);  // the query fault was still pending
}

// A client that gives up on a slow reply ends it: the server does not count
// its connection open for the rest of the wait, which would upset the next
// case's connection counts.
TEST_F(ConnectionTest, ClientThatGivesUpOnASlowReplyEndsIt) {
    SeedNumbered("mailbox", 3);
    for (bool trickle : {false, true}) {
        SCOPED_TRACE(trickle ? "trickled" : "delayed");
        if (trickle) {
            Server().TrickleNextReply("mailbox", 60.0);
        } else {
            Server().DelayNextReply("mailbox", 60.0);
        }
        Poco::Net::StreamSocket socket(Poco::Net::SocketAddress(TESTSUPPORT::TestServer::kHost,
                                                                TESTSUPPORT::TestServer::kPort));
        socket.setReceiveTimeout(Poco::Timespan(0, 300000));
        Connection::Ptr impatient = new Connection(socket);
        QueryRequest request("kelden.mailbox");
        ResponseMessage response;
        EXPECT_THROW(impatient->sendRequest(request, response), Poco::Exception);
        ASSERT_TRUE(Server().WaitForOpenConnections(1));
        socket.close();
        impatient = nullptr;
        EXPECT_TRUE(Server().WaitForOpenConnections(0, 2000));
    }
}

TEST_F(ConnectionTest, CutReplyRaisesInTheDriverAndNothingHangs) {
    SeedNumbered("mailbox", 300);
    Server().CloseConnectionMidReply("mailbox");
    Connection::Ptr cut = Connect();
    Connection::Ptr other = Connect();
    EXPECT_EQ(CountAll(*other, "kelden.tenant"), 0u);  // other collections unaffected

    Poco::MongoDB::Cursor cursor("kelden", "mailbox");
    EXPECT_THROW(cursor.next(*cut), Poco::Exception);
    EXPECT_TRUE(Server().WaitForOpenConnections(1));
    // Later queries and other connections work (a batch of the driver's
    // default 100).
    EXPECT_EQ(CountAll(*other, "kelden.mailbox"), 100u);
    EXPECT_EQ(CountAll(*Connect(), "kelden.mailbox"), 100u);

    // The fault also hits a get-more.
    Poco::MongoDB::Cursor walk("kelden", "mailbox");
    walk.query().setNumberToReturn(0);
    ResponseMessage& first = walk.next(*other);
    ASSERT_NE(first.cursorID(), 0);
    Server().CloseConnectionMidReply("mailbox");
    EXPECT_THROW(walk.next(*other), Poco::Exception);
}

TEST_F(ConnectionTest, TwentyThousandIdLookupsTakeSeconds) {
    const int total = 20000;
    std::string seed = "[";
    for (int i = 0; i < total; ++i) {
        char id[25];
        std::snprintf(id, sizeof id, "5f0000000000000000%06x", i);
        seed += std::string(i ? "," : "") + R"({"_id":{"$oid":")" + id + R"("},"n":)" +
                std::to_string(i) + R"(,"timestamp":"20260101000000000","mailbox":"1234"})";
    }
    Server().Seed("reportmbactivity", seed + "]");
    Connection::Ptr connection = Connect();

    auto start = std::chrono::steady_clock::now();
    int found = 0;
    for (int i = total - 1; i >= 0; --i) {
        char id[32];  // room for any int, though i stays below 2^24
        std::snprintf(id, sizeof id, "5f0000000000000000%06x", i);
        QueryRequest request("kelden.reportmbactivity");
        request.selector().add("_id",
                               Poco::MongoDB::ObjectId::Ptr(new Poco::MongoDB::ObjectId(id)));
        request.setNumberToReturn(1);
        ResponseMessage response;
        connection->sendRequest(request, response);
        if (response.documents().size() == 1 && response.documents()[0]->get<Poco::Int32>("n") == i)
            ++found;
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "[          ] " << total << " _id lookups took " << seconds << " s" << std::endl;
    EXPECT_EQ(found, total);
    EXPECT_LT(seconds, 120.0);  // a scan per lookup would take many minutes
}

}  // namespace
