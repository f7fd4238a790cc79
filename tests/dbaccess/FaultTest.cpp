// Connections that die, stall or misbehave in the middle of an exchange: the
// caller gets a DatabaseException that names the cause, nothing hangs past
// its time limit, and the connection never serves again.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <Poco/Exception.h>
#include <Poco/MongoDB/Connection.h>
#include <Poco/MongoDB/Cursor.h>
#include <Poco/MongoDB/Database.h>
#include <Poco/MongoDB/InsertRequest.h>
#include <Poco/Net/ServerSocket.h>
#include <Poco/Net/StreamSocket.h>
#include <Poco/SharedPtr.h>
#include <Poco/Timespan.h>

#include "BsonBytes.h"
#include "DbFixture.h"
#include "dbaccess/DatabaseException.h"
#include "dbaccess/DatabaseTimeLimits.h"
#include "dbaccess/GuardedConnection.h"
#include "dbaccess/LastWriteError.h"
#include "dbaccess/MongoDBSearch.h"
#include "dbaccess/NextBatch.h"

namespace {

using Clock = std::chrono::steady_clock;
using DBACCESS::DatabaseTimeLimits;
using DBACCESS::GuardedConnection;
using DBACCESS::MongoDBSearch;
using DBACCESS::SearchHits;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string PaddedDocuments(int count) {
    std::string json = "[";
    for (int i = 0; i < count; ++i)
        json += std::string(i ? "," : "") + R"({"n": ")" + std::to_string(i) +
                R"(", "pad": "................"})";
    return json + "]";
}

// Limits short enough for a test to wait them out; the product's are read
// in ProductLimitsAreTheDocumentedOnes. The wait for a reply to begin is
// longer than the whole reply may take, as in the product.
DatabaseTimeLimits ShortLimits() {
    DatabaseTimeLimits limits;
    limits.connect = Poco::Timespan(1, 0);
    limits.replyBegin = Poco::Timespan(3, 0);
    limits.reply = Poco::Timespan(1, 0);
    limits.send = Poco::Timespan(1, 0);
    return limits;
}

Poco::Net::SocketAddress ServerAddress() {
    return Poco::Net::SocketAddress(TESTSUPPORT::TestServer::kHost, TESTSUPPORT::TestServer::kPort);
}

// The display text of the exception a call raises, "" for none. Each kind
// of DatabaseException has its own name in front ("Timed out: ...").
std::string Raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const Poco::Exception& e) {
        return e.displayText();
    }
    return "";
}

using FaultTest = DbFixture;

TEST_F(FaultTest, ProductLimitsAreTheDocumentedOnes) {
    EXPECT_EQ(DBACCESS::kDatabaseConnectSeconds, 10);
    EXPECT_EQ(DBACCESS::kDatabaseReplySeconds, 30);
    // A correct server that takes 40 s over a large first batch is waited for.
    EXPECT_GE(DBACCESS::kDatabaseReplyBeginSeconds, 300);
    const DatabaseTimeLimits product;
    EXPECT_EQ(product.connect.totalSeconds(), 10);
    EXPECT_EQ(product.replyBegin.totalSeconds(), DBACCESS::kDatabaseReplyBeginSeconds);
    EXPECT_EQ(product.reply.totalSeconds(), 30);
    EXPECT_EQ(product.send.totalSeconds(), DBACCESS::kDatabaseSendSeconds);
    EXPECT_EQ(DBACCESS::LimitText(product.replyBegin), "300 s");
    EXPECT_EQ(DBACCESS::LimitText(Poco::Timespan(1, 500000)), "1.5 s");
}

// Each slow server, over a connection with the short limits: a reply that
// begins later than a whole reply may take still arrives; one that does not
// begin in time, or trickles, ends at its limit with a message saying so.
TEST_F(FaultTest, SlowRepliesAndTheirLimits) {
    Server().Seed("activity", PaddedDocuments(5));
    struct Case {
        const char* what;
        std::function<void()> fault;
        const char* raised;  // start of Raised(), "" for a reply that arrives
        double atLeast, atMost;
    } const cases[] = {
        {"begins after 2 s, longer than a whole reply may take",
         [] { TESTSUPPORT::TestServer::Get().DelayNextReply("activity", 2.0); }, "", 1.9, 2.9},
        {"never begins", [] { TESTSUPPORT::TestServer::Get().DelayNextReply("activity", 60.0); },
         "Timed out: kelden.activity: no reply began within 3 s", 2.9, 3.9},
        {"trickles a byte every 0.2 s",
         [] { TESTSUPPORT::TestServer::Get().TrickleNextReply("activity", 0.2); },
         "Timed out: kelden.activity: the reply was not complete "
         "within 1 s of its start",
         0.9, 1.9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.fault();
        GuardedConnection connection(ServerAddress(), ShortLimits());
        Poco::MongoDB::Cursor cursor("kelden", "activity");
        std::size_t documents = 0;
        const Clock::time_point start = Clock::now();
        const std::string raised =
            Raised([&] { documents = DBACCESS::NextBatch(cursor, connection).documents().size(); });
        const double took = SecondsSince(start);
        EXPECT_EQ(raised.rfind(c.raised, 0), 0u) << raised;
        EXPECT_EQ(documents, *c.raised ? 0u : 5u);
        EXPECT_GE(took, c.atLeast);
        EXPECT_LE(took, c.atMost);
        EXPECT_EQ(connection.IsUsable(), !*c.raised);
    }
}

TEST_F(FaultTest, ConnectThatIsNeverAcceptedEndsAtTheConnectLimit) {
    Server().StopAccepting();
    const Clock::time_point start = Clock::now();
    const std::string raised =
        Raised([] { GuardedConnection connection(ServerAddress(), ShortLimits()); });
    const double took = SecondsSince(start);
    EXPECT_EQ(raised,
              "Timed out: 127.0.0.1:27017: the connection was not "
              "accepted within 1 s");
    EXPECT_GE(took, 0.9);
    EXPECT_LE(took, 2.5);
}

TEST_F(FaultTest, ConnectionClosedMidReplyRaisesAndIsNotReused) {
    Server().Seed("activity", PaddedDocuments(150));
    {
        MongoDBSearch warm("activity");  // at least one idle connection to count
        ASSERT_EQ(warm.Find("n", {"n"}).size(), 150u);
    }
    const std::size_t idle = IdleConnections();
    const std::size_t existing = DBACCESS::ConnectionPool.size();

    Server().CloseConnectionMidReply("kelden.activity");
    MongoDBSearch search("activity");
    const Clock::time_point start = Clock::now();
    const std::string raised = Raised([&] { search.Find("n", {"n"}); });
    EXPECT_EQ(raised,
              "Connection closed: kelden.activity: the server "
              "closed the connection in the middle of a reply");
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_FALSE(search.IsConnected());
    // Its socket may still hold part of the reply: it is closed, not pooled,
    // and no longer counted.
    EXPECT_EQ(IdleConnections(), idle - 1);
    EXPECT_EQ(DBACCESS::ConnectionPool.size(), existing - 1);

    Server().CloseConnectionMidReply("kelden.activity");
    ProbeRecord record("activity");
    EXPECT_THROW(record.ReadAll(), DBACCESS::ConnectionClosedException);
    EXPECT_TRUE(record.UndeclaredFields().empty());
    EXPECT_FALSE(record.IsConnected());

    // The same search object goes on with a sound connection.
    EXPECT_EQ(search.Find("n", {"n"}).size(), 150u);
}

// However many exchanges fail, each failed connection gives its place in the
// pool back: a good read after more failures than the pool's peak still
// gets a connection at once.
// Some two thousand failed exchanges: labelled slow, run in a process of its own.
using FaultSlowTest = DbFixture;

TEST_F(FaultSlowTest, FailedExchangesNeverUseThePoolUp) {
    // Deeper than the reply guard lets through: every read of it fails.
    std::string deep = R"({"_id": "101", "n": )";
    for (int i = 0; i < 101; ++i) deep += R"({"n": )";
    deep += "1" + std::string(101, '}') + "}";
    Server().Seed("deep", "[" + deep + "]");
    Server().Seed("activity", PaddedDocuments(3));
    const std::size_t existing = DBACCESS::ConnectionPool.size();

    const int failures = static_cast<int>(DBACCESS::kConnectionPoolPeakCapacity) + 52;
    int malformed = 0;
    for (int i = 0; i < failures; ++i) {
        ProbeRecord record("deep");
        try {
            record.ReadAll();
        } catch (const DBACCESS::MalformedReplyException&) {
            ++malformed;
        }
    }
    EXPECT_EQ(malformed, failures);
    EXPECT_LE(DBACCESS::ConnectionPool.size(), existing);

    ProbeRecord good("activity");
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(good.ReadAll(), 3);
    EXPECT_LT(SecondsSince(start), 1.0);
}

// Whatever a broken or foreign peer sends instead of the reply to the
// request just sent ends the exchange as a malformed reply, never as a
// reply without documents, and the connection never serves again.
TEST_F(FaultTest, MangledRepliesRaiseMalformedReply) {
    Server().Seed("activity", PaddedDocuments(3));
    const struct Case {
        const char* how;
        const char* problem;
    } cases[] = {
        {"garbage", "a reply length of 1347703880 bytes"},
        {"negative length", "a reply length of -1 bytes"},
        {"huge length", "a reply length of 48000001 bytes"},
        {"short", "a reply length of 20 bytes"},
        {"op_msg", "a message of operation 2013 instead of a reply"},
        // The first request of a connection is request 1.
        {"stale", "a reply to request 0 instead of request 1, the one just sent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        Server().MangleNextReply("activity", c.how);
        GuardedConnection connection(ServerAddress(), ShortLimits());
        Poco::MongoDB::Cursor cursor("kelden", "activity");
        EXPECT_EQ(Raised([&] { DBACCESS::NextBatch(cursor, connection); }),
                  std::string("Malformed reply: kelden.activity: ") + c.problem);
        EXPECT_FALSE(connection.IsUsable());
    }
}

// A reply is the answer to the last request sent on its connection, also
// after requests without a reply (an insert, then its write check), and
// after a reply that needed a buffer far larger than the usual.
TEST_F(FaultTest, RepliesAnswerTheLastRequestSent) {
    std::string large = "[";
    for (int i = 0; i < 3; ++i)
        large += std::string(i ? "," : "") + R"({"n": ")" + std::to_string(i) + R"(", "pad": ")" +
                 std::string(1500000, 'x') + R"("})";
    Server().Seed("large", large + "]");
    Server().Seed("activity", PaddedDocuments(3));
    GuardedConnection connection(ServerAddress(), ShortLimits());
    for (int round = 0; round < 2; ++round) {
        Poco::MongoDB::Cursor big("kelden", "large");
        EXPECT_EQ(DBACCESS::NextBatch(big, connection).documents().size(), 3u);
        Poco::MongoDB::Database database("kelden");
        Poco::SharedPtr<Poco::MongoDB::InsertRequest> insert = database.createInsertRequest("x");
        insert->addNewDocument().add("n", round);
        connection.sendRequest(*insert);
        EXPECT_EQ(DBACCESS::LastWriteError(connection, "kelden", "checking the write"), "");
        Poco::MongoDB::Cursor small("kelden", "activity");
        EXPECT_EQ(DBACCESS::NextBatch(small, connection).documents().size(), 3u);
    }
    EXPECT_TRUE(connection.IsUsable());
}

// A cursor that goes round for ever is caught when it sends a document a
// second time, and the search ends instead of running on.
TEST_F(FaultTest, CursorThatNeverEndsEndsTheSearch) {
    std::string documents = "[";
    for (int i = 0; i < 150; ++i)
        documents += std::string(i ? "," : "") + R"({"_id": "d)" + std::to_string(i) +
                     R"(", "n": ")" + std::to_string(i) + R"("})";
    Server().Seed("activity", documents + "]");
    MongoDBSearch search("activity");
    ASSERT_EQ(search.Find("n", {"n"}).size(), 150u);

    const std::size_t getMores = RequestsOf("getmore").size();
    Server().NeverEndCursor("activity");
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(Raised([&] { search.Find("n", {"n"}); }),
              "Malformed reply: kelden.activity: the cursor sent the document with \"_id\" d0 "
              "a second time");
    EXPECT_LT(SecondsSince(start), 5.0);
    EXPECT_FALSE(search.IsConnected());
    // The second get-more went round to the first documents.
    EXPECT_EQ(RequestsOf("getmore").size() - getMores, 2u);
}

// A local peer for one connection that answers the first request with
// reply bytes (or with nothing), then closes or keeps still until the client
// is gone. Reply bytes long enough to hold a message header are made to
// answer the request, as a server's would.
class FakePeer {
public:
    FakePeer(std::string reply, bool closeAfter, Poco::UInt16 port = 0)
        : server_(Poco::Net::SocketAddress("127.0.0.1", port)),
          thread_([this, reply, closeAfter] { Serve(reply, closeAfter); }) {}
    ~FakePeer() { thread_.join(); }

    Poco::Net::SocketAddress Address() const { return server_.address(); }

private:
    void Serve(std::string reply, bool closeAfter) {
        Poco::Net::StreamSocket peer = server_.acceptConnection();
        char buffer[4096];
        const int received = peer.receiveBytes(buffer, sizeof buffer);
        // The request id is the header's second field, the id a reply
        // answers its third.
        if (received >= 8 && reply.size() >= 16) reply.replace(8, 4, buffer + 4, 4);
        if (!reply.empty()) peer.sendBytes(reply.data(), static_cast<int>(reply.size()));
        if (closeAfter) return;
        while (peer.receiveBytes(buffer, sizeof buffer) > 0) {
        }
    }

    Poco::Net::ServerSocket server_;
    std::thread thread_;
};

TEST_F(FaultTest, EmptyBatchEndsTheSearchWhateverTheCursor) {
    using namespace BSONBYTES;
    auto held = HoldIdleConnections();  // so that the search connects to the peer
    Server().StopListening();
    // No documents, yet a cursor id that says more are to come; the peer is
    // gone right after, so asking for more would raise.
    const std::string empty = Reply({}).replace(20, 8, Int32(5) + Int32(0));
    {
        FakePeer peer(empty, true, TESTSUPPORT::TestServer::kPort);
        MongoDBSearch search("activity");
        SearchHits hits;
        EXPECT_NO_THROW(hits = search.Find("n", {"n"}));
        EXPECT_TRUE(hits.empty());
    }
    // The connection to the peer went back to the pool as sound: the next
    // borrower meets its end and discards it.
    ProbeRecord record("activity");
    EXPECT_THROW(record.ReadAll(), DBACCESS::ConnectionClosedException);
}

TEST(FaultPeerTest, BadOrMissingRepliesRaiseTheirCauseInsteadOfHanging) {
    using namespace BSONBYTES;
    const std::string whole = Reply({Doc(I32("a", 1) + Str("b", "xxxxxxxxxx") + I32("c", 1)),
                                     Doc(I32("a", 2) + Str("b", "xxxxxxxxxx") + I32("c", 2))});
    struct Case {
        const char* name;
        std::string reply;
        bool closeAfter;
        const char* raised;
    };
    // Without the guard the library spins for ever on the first, reports
    // success with no documents on the second, aborts on the third and waits
    // for ever on the last.
    const Case cases[] = {
        {"cut inside a document, then closed", whole.substr(0, 60), true,
         "Connection closed: kelden.x: the server closed the "
         "connection in the middle of a reply"},
        {"cut after the header, then closed", whole.substr(0, 36), true,
         "Connection closed: kelden.x: the server closed the "
         "connection in the middle of a reply"},
        {"closed without a word", "", true,
         "Connection closed: kelden.x: the server closed the "
         "connection before replying"},
        {"string of size zero", Reply({Doc("\x02" + Name("s") + Int32(0))}), false,
         "Malformed reply: kelden.x: a string size of 0 beyond "
         "its bounds"},
        {"no answer at all", "", false, "Timed out: kelden.x: no reply began within 3 s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePeer peer(c.reply, c.closeAfter);
        GuardedConnection connection(peer.Address(), ShortLimits());
        Poco::MongoDB::Cursor cursor("kelden", "x");
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(Raised([&] { DBACCESS::NextBatch(cursor, connection); }), c.raised);
        EXPECT_LT(SecondsSince(start), 5.0);
        EXPECT_FALSE(connection.IsUsable());
        connection.disconnect();
    }
}

// A request that cannot be sent to a server that has gone ends the exchange
// with the reason, although the stream the library writes to swallows it.
TEST(FaultPeerTest, RequestToAPeerThatHasGoneFailsWithTheReason) {
    Poco::Net::ServerSocket server(Poco::Net::SocketAddress("127.0.0.1", 0));
    GuardedConnection connection(server.address(), ShortLimits());
    server.acceptConnection().close();
    Poco::MongoDB::Database database("kelden");
    Poco::SharedPtr<Poco::MongoDB::InsertRequest> insert = database.createInsertRequest("x");
    insert->addNewDocument().add("n", 1);
    connection.sendRequest(*insert);  // the peer answers it with a reset
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::string raised =
        Raised([&] { DBACCESS::LastWriteError(connection, "kelden", "checking the write"); });
    EXPECT_EQ(
        raised.rfind("Connection closed: checking the write: the request could not be sent: ", 0),
        0u)
        << raised;
    EXPECT_FALSE(connection.IsUsable());
}

TEST(FaultPeerTest, WholeReplyPassesThrough) {
    using namespace BSONBYTES;
    FakePeer peer(Reply({Doc(Str("_id", "101")), Doc(I32("n", 2))}), false);
    GuardedConnection connection(peer.Address(), ShortLimits());
    Poco::MongoDB::Cursor cursor("kelden", "x");
    const auto& documents = DBACCESS::NextBatch(cursor, connection).documents();
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[0]->get<std::string>("_id"), "101");
    EXPECT_EQ(documents[1]->get<Poco::Int32>("n"), 2);
    EXPECT_TRUE(connection.IsUsable());
    connection.disconnect();
    EXPECT_FALSE(connection.IsUsable());
}

// A reply refuses when it carries the QueryFailure flag or an "$err"
// document, either one alone.
TEST(FaultPeerTest, QueryFailureFlagOrErrorDocumentAloneIsARefusal) {
    using namespace BSONBYTES;
    const std::string queryFailure = Int32(2);
    const struct Case {
        const char* name;
        std::string reply;
        const char* raised;
    } cases[] = {
        {"flag with a document without \"$err\"",
         Reply({Doc(I32("code", 13))}).replace(16, 4, queryFailure),
         "Refused by the database: kelden.x: no error text (code 13)"},
        {"flag without a document", Reply({}).replace(16, 4, queryFailure),
         "Refused by the database: kelden.x: the request was refused without a reason"},
        {"\"$err\" without the flag", Reply({Doc(Str("$err", "not master"))}),
         "Refused by the database: kelden.x: not master"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePeer peer(c.reply, false);
        GuardedConnection connection(peer.Address(), ShortLimits());
        Poco::MongoDB::Cursor cursor("kelden", "x");
        EXPECT_EQ(Raised([&] { DBACCESS::NextBatch(cursor, connection); }), c.raised);
        connection.disconnect();
    }
}

}  // namespace
