#include <Poco/MongoDB/Array.h>
#include <Poco/MongoDB/GetMoreRequest.h>
#include <Poco/MongoDB/KillCursorsRequest.h>

#include "ServerFixture.h"

using Poco::MongoDB::Cursor;
using Poco::MongoDB::Document;
using Poco::MongoDB::QueryRequest;
using Poco::MongoDB::ResponseMessage;

namespace {

class QueryTest : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        Server().Seed("activity", R"([
      {"_id": 1, "n": 1, "room": "101", "timestamp": "20260101080000000", "kind": 3},
      {"_id": 2, "n": 2, "room": "102", "timestamp": "20260101090000000", "kind": 3},
      {"_id": 3, "n": 3, "room": "101", "timestamp": "20260101100000000", "kind": 4},
      {"_id": 4, "n": 4, "room": "103", "timestamp": "20260101110000000"}])");
        connection_ = Connect();
    }

    ResponseMessage Query(QueryRequest& request) {
        ResponseMessage response;
        connection_->sendRequest(request, response);
        return response;
    }

    Poco::MongoDB::Connection::Ptr connection_;
    Poco::MongoDB::Database database_{"kelden"};
};

TEST_F(QueryTest, FiltersWithAndWithoutQueryWrapper) {
    struct Case {
        const char* name;
        bool wrapped;
        void (*fill)(Document&);
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"empty", false, [](Document&) {}, {1, 2, 3, 4}},
        {"empty wrapped", true, [](Document&) {}, {1, 2, 3, 4}},
        {"equality", false, [](Document& d) { d.add("room", std::string("101")); }, {1, 3}},
        {"equality wrapped", true, [](Document& d) { d.add("room", std::string("101")); }, {1, 3}},
        {"string range",
         true,
         [](Document& d) {
             d.addNewDocument("timestamp")
                 .add("$gte", std::string("20260101083000000"))
                 .add("$lte", std::string("20260101100000000"));
         },
         {2, 3}},
        {"open upper bound",
         false,
         [](Document& d) {
             d.addNewDocument("timestamp").add("$gte", std::string("20260101100000000"));
         },
         {3, 4}},
        // A string bound never matches a number: comparisons stay within a type.
        {"type bracketing",
         false,
         [](Document& d) { d.addNewDocument("kind").add("$gte", std::string("0")); },
         {}},
        {"number equals int32", false, [](Document& d) { d.add("kind", 3.0); }, {1, 2}},
        {"missing field",
         false,
         [](Document& d) { d.add("kind", Poco::MongoDB::NullValue(0)); },
         {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QueryRequest request("kelden.activity");
        c.fill(c.wrapped ? request.selector().addNewDocument("$query") : request.selector());
        ResponseMessage response = Query(request);
        EXPECT_EQ(Numbers(response.documents()), c.expected);
        EXPECT_EQ(response.cursorID(), 0);
    }
}

TEST_F(QueryTest, OrderbyInsideQueryWrapperSorts) {
    QueryRequest request("kelden.activity");
    request.selector().addNewDocument("$query");
    request.selector().addNewDocument("$orderby").add("room", -1).add("n", 1);
    EXPECT_EQ(Numbers(Query(request).documents()), (std::vector<int>{4, 2, 1, 3}));
}

TEST_F(QueryTest, ProjectionKeepsChosenFieldsInStoredOrder) {
    struct Case {
        const char* name;
        void (*fields)(Document&);
        std::vector<std::string> names;
    };
    const Case cases[] = {
        // Asked in another order than stored: the stored order wins.
        {"include",
         [](Document& f) { f.add("timestamp", 1).add("room", 1); },
         {"_id", "room", "timestamp"}},
        {"include without id", [](Document& f) { f.add("room", 1).add("_id", 0); }, {"room"}},
        {"exclude",
         [](Document& f) { f.add("timestamp", 0).add("kind", 0); },
         {"_id", "n", "room"}},
        {"only id", [](Document& f) { f.add("_id", 1); }, {"_id"}},
        {"unknown field", [](Document& f) { f.add("nothere", 1); }, {"_id"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QueryRequest request("kelden.activity");
        request.selector().add("_id", 1);
        c.fields(request.returnFieldSelector());
        ResponseMessage response = Query(request);
        ASSERT_EQ(response.documents().size(), 1u);
        std::vector<std::string> names;
        response.documents()[0]->elementNames(names);
        EXPECT_EQ(names, c.names);
    }
}

// A dotted path goes into sub-documents and into the documents of an array;
// what it cannot reach (a scalar, array elements that are no documents) is
// left out, and the reply still comes.
TEST_F(QueryTest, DottedProjectionReachesIntoDocumentsAndArrays) {
    Server().Seed("mailbox", R"([{"_id": "0101", "name": ["Ana", {"title": "Mr", "first": "A"}],
                                "extension": "2303", "room": {"roomid": "12", "status": 1}}])");
    QueryRequest request("kelden.mailbox");
    request.selector().add("_id", "0101");
    request.returnFieldSelector()
        .add("name.title", 1)
        .add("extension.definition", 1)
        .add("room.roomid", 1);
    ResponseMessage response = Query(request);
    ASSERT_EQ(response.documents().size(), 1u);
    const Document& found = *response.documents()[0];
    std::vector<std::string> names;
    found.elementNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"_id", "name", "room"}));
    const auto& name = *found.get<Poco::MongoDB::Array::Ptr>("name");
    ASSERT_EQ(name.size(), 1u);
    std::vector<std::string> titleNames;
    name.get<Document::Ptr>(0)->elementNames(titleNames);
    EXPECT_EQ(titleNames, std::vector<std::string>{"title"});
    std::vector<std::string> roomNames;
    found.get<Document::Ptr>("room")->elementNames(roomNames);
    EXPECT_EQ(roomNames, std::vector<std::string>{"roomid"});
}

TEST_F(QueryTest, RefusedQueryAnswersErrorDocumentWithQueryFailureFlag) {
    QueryRequest mixed("kelden.activity");
    mixed.returnFieldSelector().add("room", 1).add("kind", 0);
    ResponseMessage response = Query(mixed);
    ASSERT_EQ(response.documents().size(), 1u);
    EXPECT_EQ(response.documents()[0]->get<std::string>("$err"),
              "Projection cannot have a mix of inclusion and exclusion.");
    EXPECT_EQ(response.documents()[0]->get<Poco::Int32>("code"), 2);
    EXPECT_EQ(ReplyFlags(mixed) & 2, 2);

    QueryRequest badOperator("kelden.activity");
    badOperator.selector().addNewDocument("n").add("$bogus", 1);
    response = Query(badOperator);
    ASSERT_EQ(response.documents().size(), 1u);
    EXPECT_TRUE(response.documents()[0]->exists("$err"));

    // The connection goes on serving.
    QueryRequest fine("kelden.activity");
    EXPECT_EQ(Query(fine).documents().size(), 4u);
}

TEST_F(QueryTest, NumberToReturnAndSkipShapeTheFirstBatch) {
    SeedNumbered("many", 150);
    struct Case {
        int skip;
        int toReturn;
        std::vector<int> first;
        bool cursorOpen;
    };
    const Case cases[] = {
        {0, 0, Range(0, 101), true},     // server default first batch
        {0, 1, {0}, false},              // one document, cursor closed
        {0, -5, Range(0, 5), false},     // single batch of five
        {0, 7, Range(0, 7), true},       // a batch of seven, more to come
        {0, 200, Range(0, 150), false},  // everything fits
        {140, 0, Range(140, 150), false},
        {150, 0, {}, false},
        {10, -3, {10, 11, 12}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("skip " + std::to_string(c.skip) + " return " + std::to_string(c.toReturn));
        QueryRequest request("kelden.many");
        request.setNumberToSkip(c.skip);
        request.setNumberToReturn(c.toReturn);
        ResponseMessage response = Query(request);
        EXPECT_EQ(Numbers(response.documents()), c.first);
        EXPECT_EQ(response.cursorID() != 0, c.cursorOpen);
    }
}

TEST_F(QueryTest, CursorWalksFifteenThousandDocumentsInBatches) {
    const int total = 15050;
    for (int batch : {0, 15000}) {
        SCOPED_TRACE("numberToReturn " + std::to_string(batch));
        Server().Reset();
        SeedNumbered("big", total, R"(,"timestamp":"20260101000000000")");
        Cursor cursor("kelden", "big");
        cursor.query().setNumberToReturn(batch);
        cursor.query().returnFieldSelector().add("n", 1);
        std::vector<int> seen;
        std::vector<std::size_t> sizes;
        ResponseMessage* response = &cursor.next(*connection_);
        for (;;) {
            sizes.push_back(response->documents().size());
            for (int n : Numbers(response->documents())) seen.push_back(n);
            if (response->cursorID() == 0) break;
            response = &cursor.next(*connection_);
        }
        EXPECT_EQ(seen, Range(0, total));
        ASSERT_GE(sizes.size(), 2u);
        EXPECT_EQ(sizes[0], batch == 0 ? 101u : 15000u);
        EXPECT_EQ(sizes.back(), batch == 0 ? static_cast<std::size_t>(total - 101) : 50u);
    }
}

TEST_F(QueryTest, GetMoreHonoursItsNumberToReturn) {
    SeedNumbered("many", 40);
    QueryRequest request("kelden.many");
    request.setNumberToReturn(5);
    ResponseMessage first = Query(request);
    ASSERT_NE(first.cursorID(), 0);

    Poco::MongoDB::GetMoreRequest more("kelden.many", first.cursorID());
    more.setNumberToReturn(10);
    ResponseMessage second;
    connection_->sendRequest(more, second);
    EXPECT_EQ(Numbers(second.documents()), Range(5, 15));
    EXPECT_EQ(second.cursorID(), first.cursorID());

    Poco::MongoDB::GetMoreRequest rest("kelden.many", first.cursorID());
    rest.setNumberToReturn(0);
    ResponseMessage third;
    connection_->sendRequest(rest, third);
    EXPECT_EQ(Numbers(third.documents()), Range(15, 40));
    EXPECT_EQ(third.cursorID(), 0);

    // The exhausted cursor is gone.
    Poco::MongoDB::GetMoreRequest again("kelden.many", first.cursorID());
    ResponseMessage none;
    connection_->sendRequest(again, none);
    EXPECT_TRUE(none.documents().empty());
    EXPECT_EQ(none.cursorID(), 0);
    EXPECT_EQ(ReplyFlags(again) & 1, 1);  // CursorNotFound
}

TEST_F(QueryTest, BatchesStopJustPastTheirByteLimits) {
    // Documents of about 100 kB: a default first batch ends just past 1 MB,
    // a default get-more just past 4 MB.
    SeedNumbered("heavy", 60, ",\"pad\":\"" + std::string(100000, 'p') + "\"");
    Cursor cursor("kelden", "heavy");
    cursor.query().setNumberToReturn(0);
    ResponseMessage& first = cursor.next(*connection_);
    EXPECT_EQ(first.documents().size(), 11u);
    ASSERT_NE(first.cursorID(), 0);
    ResponseMessage& second = cursor.next(*connection_);  // the driver asks for 0
    EXPECT_EQ(Numbers(second.documents()), Range(11, 53));
    ResponseMessage& third = cursor.next(*connection_);
    EXPECT_EQ(Numbers(third.documents()), Range(53, 60));
    EXPECT_EQ(third.cursorID(), 0);
}

TEST_F(QueryTest, KillCursorsReadsCountAsInt32AndIdsAsInt64) {
    SeedNumbered("many", 20);
    QueryRequest request("kelden.many");
    request.setNumberToReturn(2);
    ResponseMessage first = Query(request);
    ASSERT_NE(first.cursorID(), 0);

    // The driver writes the count of ids as 64 bits; read as mongod reads it
    // (an int32 count, then int64 ids), its id is garbage and nothing dies.
    Poco::MongoDB::KillCursorsRequest driverKill;
    driverKill.cursors().push_back(first.cursorID());
    connection_->sendRequest(driverKill);
    Poco::MongoDB::GetMoreRequest more("kelden.many", first.cursorID());
    more.setNumberToReturn(2);
    ResponseMessage alive;
    connection_->sendRequest(more, alive);
    EXPECT_EQ(Numbers(alive.documents()), (std::vector<int>{2, 3}));

    // A well-formed OP_KILL_CURSORS from another connection kills it.
    Poco::Int64 id = first.cursorID();
    std::string message(32, '\0');
    const Poco::Int32 header[] = {32, 1, 0, 2007, 0, 1};
    std::memcpy(&message[0], header, sizeof header);
    std::memcpy(&message[24], &id, sizeof id);
    Poco::Net::StreamSocket raw(
        Poco::Net::SocketAddress(TESTSUPPORT::TestServer::kHost, TESTSUPPORT::TestServer::kPort));
    raw.sendBytes(message.data(), static_cast<int>(message.size()));
    Poco::MongoDB::Connection rawConnection(raw);
    database_.count(rawConnection, "many");  // answered only after the kill
    ResponseMessage after;
    connection_->sendRequest(more, after);
    EXPECT_TRUE(after.documents().empty());
    EXPECT_EQ(after.cursorID(), 0);
}

TEST_F(QueryTest, UnknownCollectionAnswersNothing) {
    QueryRequest request("kelden.nothing");
    ResponseMessage response = Query(request);
    EXPECT_TRUE(response.documents().empty());
    EXPECT_EQ(response.cursorID(), 0);
}

TEST_F(QueryTest, CommandsAnswerAsMongod) {
    EXPECT_EQ(database_.count(*connection_, "activity"), 4);
    EXPECT_EQ(database_.count(*connection_, "nothing"), 0);

    for (const char* name : {"isMaster", "ismaster"}) {
        Poco::SharedPtr<QueryRequest> command = database_.createCommand();
        command->selector().add(name, 1);
        ResponseMessage response = Query(*command);
        ASSERT_EQ(response.documents().size(), 1u) << name;
        EXPECT_TRUE(response.documents()[0]->get<bool>("ismaster")) << name;
        EXPECT_EQ(response.documents()[0]->get<double>("ok"), 1.0) << name;
    }

    Poco::SharedPtr<QueryRequest> ping = database_.createCommand();
    ping->selector().add("ping", 1);
    EXPECT_EQ(Query(*ping).documents()[0]->get<double>("ok"), 1.0);

    Poco::SharedPtr<QueryRequest> drop = database_.createCommand();
    drop->selector().add("drop", std::string("activity"));
    EXPECT_EQ(Query(*drop).documents()[0]->get<double>("ok"), 1.0);
    EXPECT_EQ(Server().Documents("activity"), "[]");
    ResponseMessage again = Query(*drop);
    EXPECT_EQ(again.documents()[0]->get<double>("ok"), 0.0);
    EXPECT_EQ(again.documents()[0]->get<std::string>("errmsg"), "ns not found");

    Poco::SharedPtr<QueryRequest> unknown = database_.createCommand();
    unknown->selector().add("frobnicate", 1);
    ResponseMessage refused = Query(*unknown);
    EXPECT_EQ(refused.documents()[0]->get<double>("ok"), 0.0);
    EXPECT_EQ(refused.documents()[0]->get<Poco::Int32>("code"), 59);
}

}  // namespace
