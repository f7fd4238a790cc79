#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include <Poco/MongoDB/DeleteRequest.h>
#include <Poco/MongoDB/GetMoreRequest.h>
#include <Poco/MongoDB/InsertRequest.h>
#include <Poco/MongoDB/KillCursorsRequest.h>
#include <Poco/MongoDB/UpdateRequest.h>
#include <gtest/gtest-spi.h>

#include "ServerFixture.h"

extern char** environ;

namespace {

using ControlTest = ServerFixture;

// A scratch file name of this test binary, removed with the object.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& tag)
        : path_("/tmp/testserver-" + std::to_string(::getpid()) + "-" + tag) {}
    ~ScratchFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }
    void Write(const std::string& text) const { std::ofstream(path_) << text; }
    std::string Read() const {
        std::ostringstream text;
        text << std::ifstream(path_).rdbuf();
        return text.str();
    }

private:
    std::string path_;
};

TEST_F(ControlTest, RequestsRecordEveryOperationAsSent) {
    Server().Seed("mailbox", R"([{"_id": 1}, {"_id": 2}, {"_id": 3}])");
    Poco::MongoDB::Connection::Ptr connection = Connect();
    Poco::MongoDB::Database database("kelden");

    Poco::MongoDB::QueryRequest query("kelden.mailbox");
    query.selector().addNewDocument("$query").add("type", 5);
    query.returnFieldSelector().add("number", 1);
    query.setNumberToSkip(1);
    query.setNumberToReturn(15000);
    Poco::MongoDB::ResponseMessage response;
    connection->sendRequest(query, response);

    Poco::MongoDB::QueryRequest all("kelden.mailbox");
    all.setNumberToReturn(2);
    connection->sendRequest(all, response);
    Poco::MongoDB::GetMoreRequest more("kelden.mailbox", response.cursorID());
    connection->sendRequest(more, response);

    Poco::MongoDB::InsertRequest insert("kelden.taskspostwick");
    insert.addNewDocument().add("_id", 9).add("subject", std::string("s"));
    connection->sendRequest(insert);
    Poco::MongoDB::UpdateRequest update("kelden.taskspostwick",
                                        Poco::MongoDB::UpdateRequest::UPDATE_UPSERT);
    update.selector().add("_id", 9);
    update.update().addNewDocument("$set").add("subject", std::string("t"));
    connection->sendRequest(update);
    Poco::MongoDB::DeleteRequest remove("kelden.taskspostwick", true);
    remove.selector().add("_id", 9);
    connection->sendRequest(remove);
    database.getLastError(*connection);

    std::vector<std::string> requests = Server().Requests();
    ASSERT_EQ(requests.size(), 7u);
    std::string::size_type at = requests[0].rfind("\"connection\": ");
    ASSERT_NE(at, std::string::npos);
    const std::string tail = ", " + requests[0].substr(at);
    const std::string cursor = std::to_string(more.cursorID());
    const std::vector<std::string> expected = {
        R"({"op": "query", "ns": "kelden.mailbox", "query": {"$query": {"type": 5}}, "fields": {"number": 1}, "skip": 1, "limit": 15000, "flags": 0)" +
            tail,
        R"({"op": "query", "ns": "kelden.mailbox", "query": {}, "fields": null, "skip": 0, "limit": 2, "flags": 0)" +
            tail,
        R"({"op": "getmore", "ns": "kelden.mailbox", "limit": 100, "cursor": {"$numberLong": ")" +
            cursor + "\"}" + tail,
        R"({"op": "insert", "ns": "kelden.taskspostwick", "documents": [{"_id": 9, "subject": "s"}], "flags": 0)" +
            tail,
        R"({"op": "update", "ns": "kelden.taskspostwick", "selector": {"_id": 9}, "update": {"$set": {"subject": "t"}}, "flags": 1)" +
            tail,
        R"({"op": "delete", "ns": "kelden.taskspostwick", "selector": {"_id": 9}, "flags": 1)" +
            tail,
        R"({"op": "command", "ns": "kelden.$cmd", "command": {"getLastError": 1})" + tail,
    };
    EXPECT_EQ(requests, expected);
}

TEST_F(ControlTest, ResetClearsDataLogAndFaultsAndListensAgain) {
    Server().Seed("mailbox", R"([{"_id": 1}])");
    Server().Seed("admin.things", R"([{"_id": 1}])");
    Poco::MongoDB::QueryRequest query("kelden.mailbox");
    Poco::MongoDB::ResponseMessage response;
    Connect()->sendRequest(query, response);
    Server().FailNextQuery("", "stale fault", 1);
    Server().CloseConnectionMidReply("");
    Server().StopListening();

    Server().Reset();
    EXPECT_EQ(Server().Documents("mailbox"), "[]");
    EXPECT_EQ(Server().Documents("admin.things"), "[]");
    EXPECT_TRUE(Server().Requests().empty());
    Server().Seed("mailbox", R"([{"_id": 1}])");
    Connect()->sendRequest(query, response);  // neither fault fires
    ASSERT_EQ(response.documents().size(), 1u);
    EXPECT_FALSE(response.documents()[0]->exists("$err"));
}

TEST_F(ControlTest, DocumentFindsByIdAsTheServerCompares) {
    Server().Seed("mailbox", R"([{"_id": 7, "a": 1}, {"_id": "7", "a": 2},
                              {"_id": {"$oid": "5f1a2b3c4d5e6f7081920a1b"}, "a": 3}])");
    struct Case {
        const char* id;
        const char* document;
    };
    const Case cases[] = {
        {"7", R"({"_id": 7, "a": 1})"},
        {R"({"$numberLong": "7"})", R"({"_id": 7, "a": 1})"},  // numbers compare by value
        {"7.0", R"({"_id": 7, "a": 1})"},
        {R"("7")", R"({"_id": "7", "a": 2})"},
        {R"({"$oid": "5f1a2b3c4d5e6f7081920a1b"})",
         R"({"_id": {"$oid": "5f1a2b3c4d5e6f7081920a1b"}, "a": 3})"},
        {"8", ""},
        {"true", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Server().Document("mailbox", c.id), c.document) << c.id;
    }
    EXPECT_EQ(Server().Document("nothing", "7"), "");
    EXPECT_EQ(Server().Canonical(R"({"b":1,"a":{"$numberLong":"2"},"c":[1.5]})"),
              R"({"b": 1, "a": {"$numberLong": "2"}, "c": [{"$numberDouble": "1.5"}]})");
}

TEST_F(ControlTest, RefusedControlCommandsFailTheTest) {
    // Each refusal is a test failure plus an exception for the caller.
    EXPECT_NONFATAL_FAILURE(
        EXPECT_THROW(TESTSUPPORT::TestServer::Get().Seed("c", "[{bad"), std::runtime_error),
        "refused");
    EXPECT_NONFATAL_FAILURE(
        EXPECT_THROW(TESTSUPPORT::TestServer::Get().Seed("c", R"({"_id": 1})"), std::runtime_error),
        "must be an array of objects");
    EXPECT_NONFATAL_FAILURE(
        EXPECT_THROW(TESTSUPPORT::TestServer::Get().Seed("c", R"([{"_id": 1}, {"_id": 1}])"),
                     std::runtime_error),
        "E11000 duplicate key error collection: kelden.c");
    EXPECT_NONFATAL_FAILURE(
        EXPECT_THROW(TESTSUPPORT::TestServer::Get().SeedFile("/nonexistent/seed.json"),
                     std::runtime_error),
        "No such file");
    // The channel stays usable after a refusal.
    EXPECT_EQ(Server().Documents("c"), R"([{"_id": 1}])");
}

TEST_F(ControlTest, SeedFileFillsEveryCollectionItNames) {
    ScratchFile seed("seed.json");
    seed.Write(R"({"mailbox": [{"_id": 1, "number": "101"}, {"_id": 2, "number": "102"}],
                 "tenant": [{"_id": {"$numberLong": "1"}, "name": "Main"}],
                 "admin.things": []})");
    Server().SeedFile(seed.Path());
    EXPECT_EQ(Server().Documents("mailbox"),
              R"([{"_id": 1, "number": "101"}, {"_id": 2, "number": "102"}])");
    EXPECT_EQ(Server().Documents("kelden.tenant"),
              R"([{"_id": {"$numberLong": "1"}, "name": "Main"}])");
}

int RunServerScript(const std::vector<std::string>& arguments, const ScratchFile& output) {
    std::string command = "/usr/bin/python3 '" + std::string(QX_TEST_SERVER_SCRIPT) + "'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    command += " </dev/null >'" + output.Path() + "' 2>&1";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ControlTest, SecondServerFailsLoudlyWhenThePortIsTaken) {
    ScratchFile output("taken.out");
    EXPECT_EQ(RunServerScript({}, output), 2);
    EXPECT_NE(output.Read().find("cannot listen on 127.0.0.1:27017: Address already in use"),
              std::string::npos)
        << output.Read();

    ScratchFile bad("bad.json");
    bad.Write("[1, 2]");
    Server().StopListening();
    EXPECT_EQ(RunServerScript({"--seed", bad.Path()}, output), 2);
    EXPECT_NE(output.Read().find("cannot seed from " + bad.Path()), std::string::npos)
        << output.Read();
}

TEST_F(ControlTest, StandaloneServerServesSeedFilesUntilKilled) {
    ScratchFile first("one.json");
    first.Write(R"({"config": [{"_id": "siteinfo", "sitename": "Harbour Inn"}]})");
    ScratchFile second("two.json");
    second.Write(R"({"mailbox": [{"_id": 1, "type": 5}]})");
    Server().StopListening();

    int out[2];
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    const std::string script = QX_TEST_SERVER_SCRIPT;
    std::vector<std::string> words = {"/usr/bin/python3", script, "--seed", first.Path(),
                                      second.Path()};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    char ready[7] = {};
    std::size_t got = 0;
    while (got < 6) {
        ssize_t n = ::read(out[0], ready + got, 6 - got);
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(out[0]);
    EXPECT_STREQ(ready, "ready\n");

    Poco::MongoDB::Connection::Ptr connection = Connect();
    Poco::MongoDB::QueryRequest site("kelden.config");
    site.selector().add("_id", std::string("siteinfo"));
    Poco::MongoDB::ResponseMessage response;
    connection->sendRequest(site, response);
    ASSERT_EQ(response.documents().size(), 1u);
    EXPECT_EQ(response.documents()[0]->get<std::string>("sitename"), "Harbour Inn");
    Poco::MongoDB::QueryRequest boxes("kelden.mailbox");
    connection->sendRequest(boxes, response);
    EXPECT_EQ(response.documents().size(), 1u);
    connection->disconnect();

    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) || WIFSIGNALED(status));
    Server().StartListening();
}

}  // namespace
