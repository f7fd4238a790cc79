#include "dbaccess/TaskDB.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include <Poco/MongoDB/Array.h>
#include <Poco/MongoDB/Connection.h>
#include <Poco/MongoDB/Cursor.h>
#include <Poco/MongoDB/Document.h>
#include <Poco/MongoDB/ObjectId.h>
#include <gtest/gtest.h>

#include "DbFixture.h"
#include "StoredTasks.h"

namespace {

const char kCollection[] = "taskstest";

std::vector<std::string> NamesOf(const Poco::MongoDB::Document& document) {
    std::vector<std::string> names;
    document.elementNames(names);
    return names;
}

class TaskDBTest : public DbFixture {};

TEST_F(TaskDBTest, ScheduleAndCreationTimes) {
    struct Case {
        const char* what;
        const char* scheduled;
        const char* start;
        const char* created;
        const char* expectScheduled;  // null: the time of the write
        const char* expectCreated;    // null: the time of the write
    } const cases[] = {
        {"nothing given", "", "", "", nullptr, nullptr},
        {"start stands in", "", "20240411153000000", "", "20240411153000000", nullptr},
        {"scheduled kept", "20240412080000000", "20240411153000000", "", "20240412080000000",
         nullptr},
        {"created kept", "", "", "20240101000000000", nullptr, "20240101000000000"},
    };
    for (const Case& c : cases) {
        Server().Reset();
        DBACCESS::TaskDB task(kCollection);
        task.scheduled.FromString(c.scheduled);
        task.start.FromString(c.start);
        task.created.FromString(c.created);
        std::string error;
        ASSERT_EQ(task.Write(error), 0) << c.what << ": " << error;
        const auto stored = StoredTasks(kCollection);
        ASSERT_EQ(stored.size(), 1u) << c.what;
        const std::string scheduled = stored[0]->get<std::string>("scheduled");
        const std::string created = stored[0]->get<std::string>("created");
        const std::string written = c.expectScheduled ? created : scheduled;
        EXPECT_TRUE(IsDbTime(written)) << c.what;
        EXPECT_EQ(scheduled, c.expectScheduled ? c.expectScheduled : written) << c.what;
        EXPECT_EQ(created, c.expectCreated ? c.expectCreated : written) << c.what;
        EXPECT_EQ(stored[0]->get<std::string>("start"), c.start) << c.what;
    }
}

TEST_F(TaskDBTest, ExtraFieldsThenTheListComeAfterTheTaskFields) {
    DBACCESS::TaskDB task(kCollection);
    task.listdata = {"first", "second", "third"};
    Poco::MongoDB::Array::Ptr numbers = new Poco::MongoDB::Array();
    numbers->add("0", 1).add("1", 2);
    Poco::MongoDB::Array::Ptr unnamed = new Poco::MongoDB::Array();
    std::string error;
    ASSERT_EQ(task.RealWrite(error, {{"zeta", " z "}, {"", "skipped"}, {"alpha", "a"}},
                             {{"numbers", numbers}, {"", unnamed}}),
              0)
        << error;

    const auto stored = StoredTasks(kCollection);
    ASSERT_EQ(stored.size(), 1u);
    const std::vector<std::string> expected = {
        "_id",        "priority", "scheduled", "taskref", "tasktype", "retries",
        "maxretries", "mailbox",  "interval",  "start",   "end",      "expire",
        "created",    "data",     "alpha",     "zeta",    "numbers",  "listdata"};
    EXPECT_EQ(NamesOf(*stored[0]), expected);
    EXPECT_EQ(stored[0]->get<std::string>("zeta"), " z ");  // extra texts go as given
    const auto list = stored[0]->get<Poco::MongoDB::Array::Ptr>("listdata");
    EXPECT_EQ(NamesOf(*list), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(list->get<std::string>(0), "first");
    EXPECT_EQ(list->get<std::string>(2), "third");
}

TEST_F(TaskDBTest, TaskWithAnIdIsUpsertedUnderIt) {
    const std::string id = "65f2000000000000000000a1";
    for (const char* data : {"first write", "second write"}) {
        DBACCESS::TaskDB task(kCollection);
        task.id = id;
        task.data.FromString(data);
        std::string error;
        ASSERT_EQ(task.Write(error), 0) << error;
    }
    const auto updates = RequestsOf("update");
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_NE(updates[0].find("\"selector\": {\"_id\": {\"$oid\": \"" + id + "\"}}"),
              std::string::npos)
        << updates[0];
    EXPECT_NE(updates[0].find("\"update\": {\"$set\": {\"priority\": 20, \"scheduled\": "),
              std::string::npos)
        << updates[0];
    EXPECT_NE(updates[0].find("\"flags\": 1"), std::string::npos) << updates[0];
    EXPECT_EQ(updates[0].find("\"_id\"", updates[0].find("$set")), std::string::npos);
    EXPECT_TRUE(RequestsOf("insert").empty());

    const auto stored = StoredTasks(kCollection);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->get<Poco::MongoDB::ObjectId::Ptr>("_id")->toString(), id);
    EXPECT_EQ(stored[0]->get<std::string>("data"), "second write");
}

// Only getLastError's ok: 1 without an error counts as written; every other
// answer, or none, is -46 with the reason. Once the request went out (the
// moment `sent` is called) the server may have stored the task whatever the
// check says, and the text says so.
TEST_F(TaskDBTest, FailedWrites) {
    using TESTSUPPORT::TestServer;
    const std::string unconfirmed = "the write was not confirmed: ";
    const std::string mayBeStored = "; the task may have been stored";
    const auto answer = [](const char* document) {
        return [document] { TestServer::Get().AnswerNextCommandWith("$cmd", document); };
    };
    struct Case {
        const char* what;
        const char* id;
        std::function<void()> fault;
        std::string error;
        bool sent;
    } const cases[] = {
        {"id that is no ObjectId", "65f2-not-hex", [] {},
         "the task id \"65f2-not-hex\" is no ObjectId", false},
        {"short id", "abc", [] {}, "the task id \"abc\" is no ObjectId", false},
        {"connection lost after the send", "",
         [] { TestServer::Get().CloseConnectionMidReply("$cmd"); },
         "Connection closed: getLastError after the write to kelden.taskstest: the server closed "
         "the connection in the middle of a reply" +
             mayBeStored,
         true},
        {"check refused", "",
         [] { TestServer::Get().FailNextQuery("$cmd", "not authorized on kelden", 13); },
         unconfirmed + "not authorized on kelden (code 13)" + mayBeStored, true},
        {"check failed as a command", "",
         [] { TestServer::Get().FailNextCommand("$cmd", "operation was interrupted", 11601); },
         unconfirmed + "operation was interrupted (code 11601)" + mayBeStored, true},
        {"check answered without a document", "",
         [] { TestServer::Get().AnswerNextWithoutDocuments("$cmd"); },
         unconfirmed + "getLastError gave no answer" + mayBeStored, true},
        {"answer without ok", "", answer(R"({"err": null})"),
         unconfirmed + "no error text" + mayBeStored, true},
        {"write concern timed out", "",
         answer(R"({"ok": 1, "err": "timeout", "wtimeout": true, "waited": 5000, "n": 0})"),
         "timeout" + mayBeStored, true},
        {"write error", "",
         answer(R"({"ok": 1, "err": "E11000 duplicate key error", "code": 11000, "n": 0})"),
         "E11000 duplicate key error" + mayBeStored, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Server().Reset();
        c.fault();
        DBACCESS::TaskDB task(kCollection);
        task.id = c.id;
        std::string error;
        int sent = 0;
        EXPECT_EQ(task.RealWrite(error, {}, {}, [&sent] { ++sent; }), -46);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(sent, c.sent ? 1 : 0);
        EXPECT_EQ(RequestsOf("insert").size() + RequestsOf("update").size(), c.sent ? 1u : 0u);
    }
}

// The caller hears of the send before the check is asked for, so that what
// the task names can be handed over before the wait for its answer.
TEST_F(TaskDBTest, SentIsToldOnceBeforeTheCheck) {
    DBACCESS::TaskDB task(kCollection);
    std::string error;
    std::vector<std::size_t> checksAtSend;
    EXPECT_EQ(
        task.RealWrite(error, {}, {},
                       [&checksAtSend] { checksAtSend.push_back(RequestsOf("command").size()); }),
        0)
        << error;
    EXPECT_EQ(checksAtSend, std::vector<std::size_t>{0});
    EXPECT_EQ(RequestsOf("command").size(), 1u);
    EXPECT_EQ(StoredTasks(kCollection).size(), 1u);
}

TEST_F(TaskDBTest, ServerErrorAfterTheSendIsTheResult) {
    const std::string id = "65f2000000000000000000b2";
    DBACCESS::TaskDB task(kCollection);
    task.id = id;
    std::string error;
    // A field below the string "taskref" cannot be made.
    EXPECT_EQ(task.RealWrite(error, {{"taskref.part", "x"}}, {}), -46);
    EXPECT_NE(error.find("Cannot create field 'part'"), std::string::npos) << error;
}

TEST_F(TaskDBTest, ReadThroughTheRecordProtocol) {
    Poco::MongoDB::Document::Ptr stored = new Poco::MongoDB::Document();
    Poco::MongoDB::Array::Ptr list = new Poco::MongoDB::Array();
    list->add("0", std::string("a")).add("1", std::string("b"));
    stored->add("_id", std::string("task-1"))
        .add("priority", 5)
        .add("scheduled", std::string("20240411153000000"))
        .add("listdata", list)
        .add("owner", std::string("pms"));
    DBACCESS::TaskDB task(kCollection);
    task.ParseDocuments({stored});
    EXPECT_EQ(task.id, "task-1");
    EXPECT_EQ(task.priority.value, 5);
    EXPECT_FALSE(task.priority.changed);
    EXPECT_EQ(task.scheduled.Get(), "20240411153000000");
    EXPECT_EQ(task.listdata, (std::vector<std::string>{"a", "b"}));
    // The list is also kept as text, and so is what the task does not know.
    EXPECT_EQ(task.UndeclaredFields().count("listdata"), 1u);
    EXPECT_EQ(task.UndeclaredFields().at("owner").value.Get(), "pms");
}

}  // namespace
