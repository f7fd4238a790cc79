// Connections that die or misbehave in the middle of an exchange: the
// caller gets the library's exception, nothing hangs, and the connection
// never serves again.

#include <Poco/Exception.h>
#include <Poco/MongoDB/Connection.h>
#include <Poco/MongoDB/Cursor.h>
#include <Poco/Net/ServerSocket.h>
#include <Poco/Net/StreamSocket.h>
#include <Poco/Timespan.h>

#include <chrono>
#include <string>
#include <thread>

#include "BsonBytes.h"
#include "DbFixture.h"
#include "dbaccess/GuardedSocketFactory.h"
#include "dbaccess/MongoDBSearch.h"

namespace {

using Clock = std::chrono::steady_clock;
using DBACCESS::MongoDBSearch;
using DBACCESS::SearchHits;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string Numbered(int count) {
  std::string json = "[";
  for (int i = 0; i < count; ++i)
    json += std::string(i ? "," : "") + R"({"n": ")" + std::to_string(i) + R"(", "pad": "................"})";
  return json + "]";
}

using FaultTest = DbFixture;

TEST_F(FaultTest, ConnectionClosedMidReplyRaisesAndIsNotReused) {
  Server().Seed("activity", Numbered(150));
  {
    MongoDBSearch warm("activity");  // at least one idle connection to count
    ASSERT_EQ(warm.Find("n", {"n"}).size(), 150u);
  }
  const std::size_t idle = IdleConnections();

  Server().CloseConnectionMidReply("kelden.activity");
  MongoDBSearch search("activity");
  const Clock::time_point start = Clock::now();
  EXPECT_THROW(search.Find("n", {"n"}), Poco::IOException);
  EXPECT_LT(SecondsSince(start), 5.0);
  EXPECT_FALSE(search.IsConnected());
  // Its socket may still hold part of the reply: it is closed, not pooled.
  EXPECT_EQ(IdleConnections(), idle - 1);

  Server().CloseConnectionMidReply("kelden.activity");
  ProbeRecord record("activity");
  EXPECT_THROW(record.ReadAll(), Poco::IOException);
  EXPECT_TRUE(record.UndeclaredFields().empty());
  EXPECT_FALSE(record.IsConnected());

  // The same search object goes on with a sound connection.
  EXPECT_EQ(search.Find("n", {"n"}).size(), 150u);
}

// A local peer for one connection that answers the first request with
// reply bytes (or with nothing), then closes or keeps still until the client
// is gone.
class FakePeer {
 public:
  FakePeer(std::string reply, bool closeAfter, Poco::UInt16 port = 0)
      : server_(Poco::Net::SocketAddress("127.0.0.1", port)),
        thread_([this, reply, closeAfter] { Serve(reply, closeAfter); }) {}
  ~FakePeer() { thread_.join(); }

  std::string Uri() const { return "mongodb://127.0.0.1:" + std::to_string(server_.address().port()); }

 private:
  void Serve(const std::string& reply, bool closeAfter) {
    Poco::Net::StreamSocket peer = server_.acceptConnection();
    char buffer[4096];
    peer.receiveBytes(buffer, sizeof buffer);
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
  EXPECT_ANY_THROW(record.ReadAll());
}

TEST(FaultPeerTest, BadOrMissingRepliesRaiseInsteadOfHanging) {
  using namespace BSONBYTES;
  const std::string whole = Reply({Doc(I32("a", 1) + Str("b", "xxxxxxxxxx") + I32("c", 1)),
                                   Doc(I32("a", 2) + Str("b", "xxxxxxxxxx") + I32("c", 2))});
  struct Case {
    const char* name;
    std::string reply;
    bool closeAfter;
  };
  // Without the guard the library spins for ever on the first, reports
  // success with no documents on the second, and aborts on the third.
  const Case cases[] = {
      {"cut inside a document, then closed", whole.substr(0, 60), true},
      {"cut after the header, then closed", whole.substr(0, 36), true},
      {"string of size zero", Reply({Doc("\x02" + Name("s") + Int32(0))}), false},
      {"no answer at all", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePeer peer(c.reply, c.closeAfter);
    DBACCESS::GuardedSocketFactory sockets(Poco::Timespan(0, 300000));
    Poco::MongoDB::Connection connection(peer.Uri(), sockets);
    Poco::MongoDB::Cursor cursor("kelden", "x");
    const Clock::time_point start = Clock::now();
    EXPECT_THROW(cursor.next(connection), Poco::IOException);
    EXPECT_LT(SecondsSince(start), 5.0);
    connection.disconnect();
  }
}

TEST(FaultPeerTest, WholeReplyPassesThrough) {
  using namespace BSONBYTES;
  FakePeer peer(Reply({Doc(Str("_id", "101")), Doc(I32("n", 2))}), false);
  DBACCESS::GuardedSocketFactory sockets(Poco::Timespan(0, 300000));
  Poco::MongoDB::Connection connection(peer.Uri(), sockets);
  Poco::MongoDB::Cursor cursor("kelden", "x");
  const auto& documents = cursor.next(connection).documents();
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(documents[0]->get<std::string>("_id"), "101");
  EXPECT_EQ(documents[1]->get<Poco::Int32>("n"), 2);
  connection.disconnect();
}

}  // namespace
