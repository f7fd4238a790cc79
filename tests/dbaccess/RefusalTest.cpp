// What the server refuses - a query, a later batch of one, a read by id, the
// whole legacy protocol of a newer server - raises DatabaseRefusedException
// with the server's own text and code, wherever it happens: never an empty
// result that reads as "nothing found". A document that is merely missing
// stays "not found".

#include "support/Refusal.h"

#include <functional>
#include <map>
#include <string>

#include <Poco/Exception.h>

#include "DbFixture.h"
#include "dbaccess/DatabaseException.h"
#include "dbaccess/MailboxDirectory.h"
#include "dbaccess/MongoDBSearch.h"
#include "dbaccess/PostwickPost.h"
#include "dbaccess/QXMailbox.h"
#include "dbaccess/SiteInfo.h"

namespace {

using DBACCESS::MongoDBSearch;

const char* const kDenied = "not authorized on kelden to execute command { find: \"mailbox\" }";

std::string NumberedEntries(int count) {
    std::string json = "[";
    for (int i = 0; i < count; ++i)
        json += std::string(i ? "," : "") + R"({"_id": "m)" + std::to_string(i) + R"(", "n": ")" +
                std::to_string(i) + R"(", "type": 5, "name": "t)" + std::to_string(i) + R"("})";
    return json + "]";
}

using TESTSUPPORT::Refusal;
using TESTSUPPORT::Refused;

using RefusalTest = DbFixture;

TEST_F(RefusalTest, EveryReadOfARefusedCollectionRaisesTheServersTextAndCode) {
    Server().Seed("mailbox", NumberedEntries(3));
    std::multimap<std::string, std::string> values;
    std::string error;
    const struct Case {
        const char* what;
        std::function<void()> read;
    } cases[] = {
        {"Find",
         [] {
             MongoDBSearch("mailbox").Find("n", {"_id", "n"});
         }},
        {"FindEqual", [] { MongoDBSearch("mailbox").FindEqual("_id", "n", "1", {"n"}); }},
        {"FindRange", [] { MongoDBSearch("mailbox").FindRange("n", "0", "9", {"_id"}); }},
        {"FindAll", [&] { MongoDBSearch("mailbox").FindAll(values, "n"); }},
        {"LoadMailboxDirectory", [] { LoadMailboxDirectory("", "mailbox"); }},
        {"mailbox record", [] { DBACCESS::QXMailbox mailbox("m1"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Server().FailNextQuery("mailbox", kDenied, 13);
        const Refusal refusal = Refused(c.read);
        EXPECT_EQ(refusal.text, "Refused by the database: kelden.mailbox: " + std::string(kDenied) +
                                    " (code 13)");
        EXPECT_EQ(refusal.code, 13);
    }
    // Asked again, the same reads find what is there.
    EXPECT_EQ(MongoDBSearch("mailbox").Find("n", {"_id", "n"}).size(), 3u);
    EXPECT_EQ(LoadMailboxDirectory("", "mailbox").size(), 3u);
}

TEST_F(RefusalTest, RecordReadsRaiseTheRefusalWhileAMissingDocumentStaysNotFound) {
    TESTSUPPORT::ExpectRefusedReads({
        {"tenant names", "tenant", [] { return !LoadTenantNames("tenant").empty(); }},
        {"mailbox", "mailbox", [] { return DBACCESS::QXMailbox("101").number.Get() == "101"; }},
    });
}

// A refusal of a later batch cuts the result short: that too is raised, not
// returned as the part that came before it.
TEST_F(RefusalTest, RefusedOrLostCursorHalfwayRaises) {
    Server().Seed("mailbox", NumberedEntries(250));  // more than the first batch of 101
    const struct Case {
        const char* what;
        std::function<void()> fault;
        const char* text;
        int code;
    } cases[] = {
        {"get-more refused",
         [] { TESTSUPPORT::TestServer::Get().FailNextGetMore("mailbox", "interrupted", 11601); },
         "Refused by the database: kelden.mailbox: interrupted (code 11601)", 11601},
        {"cursor gone",
         [] { TESTSUPPORT::TestServer::Get().LoseCursorBeforeNextGetMore("mailbox"); },
         "Refused by the database: kelden.mailbox: cursor not found: the server no longer knows "
         "the "
         "query's cursor",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.fault();
        const Refusal refusal = Refused([] { MongoDBSearch("mailbox").Find("n", {"_id", "n"}); });
        EXPECT_EQ(refusal.text, c.text);
        EXPECT_EQ(refusal.code, c.code);
    }
    EXPECT_EQ(RequestsOf("getmore").size(), 2u);
    EXPECT_EQ(MongoDBSearch("mailbox").Find("n", {"_id", "n"}).size(), 250u);
}

// The site information keeps its result codes: a refusal is -47 with the
// server's words as the error text, which the report frame then shows.
TEST_F(RefusalTest, RefusedSiteInformationIsNotFoundWithTheServersText) {
    Server().Seed("config", R"([{"_id": "siteinfo", "sitename": "Hotel"}])");
    Server().FailNextQuery("config", kDenied, 13);
    DBACCESS::SiteInfo site;
    std::string error;
    EXPECT_EQ(site.Read(error), -47);
    EXPECT_EQ(error,
              "Refused by the database: kelden.config: " + std::string(kDenied) + " (code 13)");
    EXPECT_EQ(site.sitename.Get(), "");
}

// A server of version 6.0 or later speaks none of the legacy protocol: its
// refusal comes back in its own words, for the reads and the mail task alike.
TEST_F(RefusalTest, NewerServerIsToldApartByItsOwnWords) {
    Server().Seed("mailbox", NumberedEntries(3));
    Server().RefuseLegacyOpcodes();
    const Refusal refusal = Refused([] { MongoDBSearch("mailbox").Find("n", {"_id", "n"}); });
    EXPECT_EQ(
        refusal.text.rfind("Refused by the database: kelden.mailbox: Unsupported OP_QUERY command: "
                           "find. The client driver may require an upgrade.",
                           0),
        0u)
        << refusal.text;
    EXPECT_NE(refusal.text.find("(code 352)"), std::string::npos) << refusal.text;
    EXPECT_EQ(refusal.code, 352);

    CORVANE::LIBMTA::PostwickPost post;
    post.subject.FromString("report");
    std::string error;
    EXPECT_EQ(post.Write(error), -46);
    EXPECT_EQ(
        error.rfind("the write was not confirmed: Unsupported OP_QUERY command: getLastError. "
                    "The client driver may require an upgrade.",
                    0),
        0u)
        << error;
    EXPECT_NE(error.find("(code 352)"), std::string::npos) << error;
    EXPECT_EQ(Server().Documents("taskspostwick"), "[]");
}

}  // namespace
