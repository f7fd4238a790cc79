#include <Poco/MongoDB/DeleteRequest.h>
#include <Poco/MongoDB/InsertRequest.h>
#include <Poco/MongoDB/ObjectId.h>
#include <Poco/MongoDB/UpdateRequest.h>

#include "ServerFixture.h"

using Poco::MongoDB::Document;
using Poco::MongoDB::InsertRequest;
using Poco::MongoDB::ObjectId;
using Poco::MongoDB::UpdateRequest;

namespace {

const char* const kTaskId = "5f1a2b3c4d5e6f7081920a1b";

class WriteTest : public ServerFixture {
protected:
    void SetUp() override {
        ServerFixture::SetUp();
        connection_ = Connect();
    }

    Document::Ptr LastError() {
        Document::Ptr error = database_.getLastErrorDoc(*connection_);
        if (error.isNull()) throw std::runtime_error("no getLastError reply");
        return error;
    }

    void Insert(InsertRequest& request) { connection_->sendRequest(request); }

    void Update(UpdateRequest& request) { connection_->sendRequest(request); }

    Poco::MongoDB::Connection::Ptr connection_;
    Poco::MongoDB::Database database_{"kelden"};
};

TEST_F(WriteTest, InsertStoresDocumentWithIdFirst) {
    Poco::SharedPtr<InsertRequest> insert = database_.createInsertRequest("taskspostwick");
    insert->addNewDocument()
        .add("subject", std::string("Report"))
        .add("type", 2)
        .add("_id", ObjectId::Ptr(new ObjectId(kTaskId)));
    insert->addNewDocument().add("subject", std::string("No id"));
    Insert(*insert);
    EXPECT_EQ(database_.getLastError(*connection_), "");
    Document::Ptr error = LastError();
    EXPECT_TRUE(error->isType<Poco::MongoDB::NullValue>("err"));
    EXPECT_EQ(error->get<double>("ok"), 1.0);

    std::string stored = Server().Documents("taskspostwick");
    const std::string first =
        R"([{"_id": {"$oid": "5f1a2b3c4d5e6f7081920a1b"}, "subject": "Report", "type": 2}, {"_id": )";
    EXPECT_EQ(stored.substr(0, first.size()), first);
    // The server made an ObjectId for the document that had none, in first place.
    EXPECT_NE(stored.find(R"({"_id": {"$oid": ")", 80), std::string::npos);
    EXPECT_NE(stored.find(R"("}, "subject": "No id"})"), std::string::npos);
}

TEST_F(WriteTest, DuplicateIdReportsMongodErrorThroughGetLastError) {
    Server().Seed("taskspostwick", std::string(R"([{"_id": {"$oid": ")") + kTaskId + R"("}}])");
    Poco::SharedPtr<InsertRequest> insert = database_.createInsertRequest("taskspostwick");
    insert->addNewDocument().add("_id", ObjectId::Ptr(new ObjectId(kTaskId))).add("x", 1);
    Insert(*insert);

    Document::Ptr error = LastError();
    EXPECT_EQ(error->get<std::string>("err"),
              std::string("E11000 duplicate key error collection: kelden.taskspostwick index: _id_ "
                          "dup key: { _id: ObjectId('") +
                  kTaskId + "') }");
    EXPECT_EQ(error->get<Poco::Int32>("code"), 11000);
    EXPECT_EQ(error->get<Poco::Int32>("n"), 0);
    EXPECT_EQ(error->get<double>("ok"), 1.0);
    EXPECT_EQ(Server().Documents("taskspostwick"),
              std::string(R"([{"_id": {"$oid": ")") + kTaskId + R"("}}])");

    // The error belongs to the last write of that connection only.
    EXPECT_EQ(database_.getLastError(*Connect()), "");
    Poco::SharedPtr<InsertRequest> fine = database_.createInsertRequest("taskspostwick");
    fine->addNewDocument().add("x", 2);
    Insert(*fine);
    EXPECT_EQ(database_.getLastError(*connection_), "");
}

TEST_F(WriteTest, ContinueOnErrorDecidesWhetherABatchGoesOnAfterAFailure) {
    for (bool continueOnError : {false, true}) {
        SCOPED_TRACE(continueOnError ? "continue on error" : "stop at error");
        Server().Reset();
        Server().Seed("t", R"([{"_id": 2}])");
        InsertRequest insert("kelden.t", continueOnError ? InsertRequest::INSERT_CONTINUE_ON_ERROR
                                                         : InsertRequest::INSERT_DEFAULT);
        for (int id : {1, 2, 3}) insert.addNewDocument().add("_id", id);
        Insert(insert);
        EXPECT_EQ(LastError()->get<Poco::Int32>("code"), 11000);
        EXPECT_EQ(Server().Documents("t"), continueOnError
                                               ? R"([{"_id": 2}, {"_id": 1}, {"_id": 3}])"
                                               : R"([{"_id": 2}, {"_id": 1}])");
    }
}

TEST_F(WriteTest, UpsertInsertsOnceThenUpdatesInPlace) {
    Server().Seed("taskspostwick", R"([{"_id": 1, "first": true}])");
    auto upsert = [&](const std::string& subject) {
        UpdateRequest request("kelden.taskspostwick", UpdateRequest::UPDATE_UPSERT);
        request.selector().add("_id", ObjectId::Ptr(new ObjectId(kTaskId)));
        request.update().addNewDocument("$set").add("subject", subject).add("type", 2);
        Update(request);
    };
    upsert("one");
    Document::Ptr inserted = LastError();
    EXPECT_FALSE(inserted->get<bool>("updatedExisting"));
    EXPECT_EQ(inserted->get<Poco::Int32>("n"), 1);
    EXPECT_EQ(inserted->get<ObjectId::Ptr>("upserted")->toString(), kTaskId);

    upsert("two");
    Document::Ptr updated = LastError();
    EXPECT_TRUE(updated->get<bool>("updatedExisting"));
    EXPECT_EQ(updated->get<Poco::Int32>("n"), 1);
    EXPECT_FALSE(updated->exists("upserted"));
    EXPECT_EQ(Server().Documents("taskspostwick"),
              std::string(R"([{"_id": 1, "first": true}, {"_id": {"$oid": ")") + kTaskId +
                  R"("}, "subject": "two", "type": 2}])");
}

TEST_F(WriteTest, UpdateMatchesOneOrManyAndReplaces) {
    const char* seed = R"([{"_id": 1, "room": "101", "hits": 1},
                         {"_id": 2, "room": "101", "hits": {"$numberLong": "5"}},
                         {"_id": 3, "room": "102", "hits": 1.5}])";
    struct Case {
        const char* name;
        UpdateRequest::Flags flags;
        void (*fill)(UpdateRequest&);
        int n;
        const char* documents;
    };
    const Case cases[] = {
        {"first match only", UpdateRequest::UPDATE_DEFAULT,
         [](UpdateRequest& r) {
             r.selector().add("room", std::string("101"));
             r.update().addNewDocument("$inc").add("hits", 1);
         },
         1,
         R"([{"_id": 1, "room": "101", "hits": 2}, {"_id": 2, "room": "101", "hits": {"$numberLong": "5"}}, {"_id": 3, "room": "102", "hits": {"$numberDouble": "1.5"}}])"},
        // $inc keeps the wider type: int64 stays int64, a double stays double.
        {"multi", UpdateRequest::UPDATE_MULTIUPDATE,
         [](UpdateRequest& r) { r.update().addNewDocument("$inc").add("hits", 1); }, 3,
         R"([{"_id": 1, "room": "101", "hits": 2}, {"_id": 2, "room": "101", "hits": {"$numberLong": "6"}}, {"_id": 3, "room": "102", "hits": {"$numberDouble": "2.5"}}])"},
        {"replacement keeps _id", UpdateRequest::UPDATE_DEFAULT,
         [](UpdateRequest& r) {
             r.selector().add("_id", 3);
             r.update().add("room", std::string("201"));
         },
         1,
         R"([{"_id": 1, "room": "101", "hits": 1}, {"_id": 2, "room": "101", "hits": {"$numberLong": "5"}}, {"_id": 3, "room": "201"}])"},
        {"set and unset nested", UpdateRequest::UPDATE_DEFAULT,
         [](UpdateRequest& r) {
             r.selector().add("_id", 1);
             r.update().addNewDocument("$set").add("guest.name", std::string("Ann"));
             r.update().addNewDocument("$unset").add("hits", std::string(""));
         },
         1,
         R"([{"_id": 1, "room": "101", "guest": {"name": "Ann"}}, {"_id": 2, "room": "101", "hits": {"$numberLong": "5"}}, {"_id": 3, "room": "102", "hits": {"$numberDouble": "1.5"}}])"},
        {"no match, no upsert", UpdateRequest::UPDATE_DEFAULT,
         [](UpdateRequest& r) {
             r.selector().add("room", std::string("999"));
             r.update().addNewDocument("$set").add("x", 1);
         },
         0,
         R"([{"_id": 1, "room": "101", "hits": 1}, {"_id": 2, "room": "101", "hits": {"$numberLong": "5"}}, {"_id": 3, "room": "102", "hits": {"$numberDouble": "1.5"}}])"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Server().Reset();
        Server().Seed("rooms", seed);
        UpdateRequest request("kelden.rooms", c.flags);
        c.fill(request);
        Update(request);
        Document::Ptr error = LastError();
        EXPECT_TRUE(error->isType<Poco::MongoDB::NullValue>("err"));
        EXPECT_EQ(error->get<Poco::Int32>("n"), c.n);
        EXPECT_EQ(Server().Documents("rooms"), c.documents);
    }
}

TEST_F(WriteTest, RefusedUpdateReportsErrorAndChangesNothing) {
    const char* seed = R"([{"_id": 1, "room": "101"}])";
    struct Case {
        const char* name;
        void (*fill)(Document&);
        int code;
        const char* err;
    };
    const Case cases[] = {
        {"unknown operator", [](Document& u) { u.addNewDocument("$frob").add("a", 1); }, 9,
         "Unknown modifier: $frob. Expected a valid update modifier"},
        {"increment a string", [](Document& u) { u.addNewDocument("$inc").add("room", 1); }, 14,
         nullptr},
        {"change _id", [](Document& u) { u.addNewDocument("$set").add("_id", 7); }, 66,
         "Performing an update on the path '_id' would modify the immutable field '_id'"},
    };
    Server().Seed("rooms", seed);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UpdateRequest request("kelden.rooms");
        request.selector().add("_id", 1);
        c.fill(request.update());
        Update(request);
        Document::Ptr error = LastError();
        EXPECT_EQ(error->get<Poco::Int32>("code"), c.code);
        if (c.err) {
            EXPECT_EQ(error->get<std::string>("err"), c.err);
        }
        EXPECT_EQ(Server().Documents("rooms"), seed);
    }
}

TEST_F(WriteTest, DeleteRemovesOneOrAllMatches) {
    for (bool justOne : {true, false}) {
        SCOPED_TRACE(justOne ? "single remove" : "all matches");
        Server().Reset();
        Server().Seed("t", R"([{"_id": 1, "k": 1}, {"_id": 2, "k": 2}, {"_id": 3, "k": 1}])");
        Poco::MongoDB::DeleteRequest request("kelden.t", justOne);
        request.selector().add("k", 1);
        connection_->sendRequest(request);
        EXPECT_EQ(LastError()->get<Poco::Int32>("n"), justOne ? 1 : 2);
        EXPECT_EQ(Server().Documents("t"), justOne ? R"([{"_id": 2, "k": 2}, {"_id": 3, "k": 1}])"
                                                   : R"([{"_id": 2, "k": 2}])");
    }
}

}  // namespace
