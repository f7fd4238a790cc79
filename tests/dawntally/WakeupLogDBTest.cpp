#include "dawntally/WakeupLogDB.h"

#include <string>
#include <vector>

#include "Poco/Exception.h"
#include <gtest/gtest.h>

#include "WakeupFixture.h"
#include "dbaccess/DatabaseName.h"
#include "support/NumberDefaults.h"
#include "support/Refusal.h"

namespace {

using DBACCESS::WakeupLogDB;

class WakeupLogDBTest : public WakeupTest {
protected:
    // A record that has read nothing yet.
    static WakeupLogDB Unread() { return WakeupLogDB(std::string()); }
};

TEST_F(WakeupLogDBTest, ReadsEveryFieldAndKeepsTheRest) {
    Seed({{Oid(1), "20240411061500000", "wu-7",
           R"("actor": "frontdesk", "action": 2, "archived": "20240411070000000", "count": 3,
              "fname": "Ana", "lname": "Costa", "line": 12, "profileid": "p-1", "promptid": 40,
              "mailbox": "101", "notes": "early riser", "result": 2, "source": 8,
              "eventtime": "20240411063000000", "tenantid": "1", "channel": "sip")"}});
    const WakeupLogDB event(Oid(1));
    ASSERT_EQ(event.GetId(), Oid(1));

    EXPECT_EQ(event.actor.Get(), "frontdesk");
    EXPECT_EQ(event.action.value, 2);
    EXPECT_EQ(event.archived.Get(), "20240411070000000");
    EXPECT_EQ(event.count.value, 3);
    EXPECT_EQ(event.fname.Get(), "Ana");
    EXPECT_EQ(event.lname.Get(), "Costa");
    EXPECT_EQ(event.line.value, 12);
    EXPECT_EQ(event.profileid.Get(), "p-1");
    EXPECT_EQ(event.promptid.value, 40);
    EXPECT_EQ(event.mailbox.Get(), "101");
    EXPECT_EQ(event.notes.Get(), "early riser");
    EXPECT_EQ(event.result.value, 2);
    EXPECT_EQ(event.source.value, 8);
    EXPECT_EQ(event.timestamp.Get(), "20240411061500000");
    EXPECT_EQ(event.eventtime.Get(), "20240411063000000");
    EXPECT_EQ(event.wakeupid.Get(), "wu-7");
    EXPECT_EQ(event.tenantid.Get(), "1");
    EXPECT_FALSE(event.action.changed || event.mailbox.changed || event.wakeupid.changed);

    // Undeclared elements are kept; declared ones are not repeated there.
    ASSERT_EQ(event.UndeclaredFields().count("channel"), 1u);
    EXPECT_EQ(event.UndeclaredFields().at("channel").value.Get(), "sip");
    EXPECT_EQ(event.UndeclaredFields().count("actor"), 0u);

    // One query by ObjectId for one document, and no connection kept.
    const auto queries = RequestsOf("query", "kelden.wakeuplog");
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_NE(queries[0].find("\"query\": {\"_id\": {\"$oid\": \"" + Oid(1) + "\"}}"),
              std::string::npos)
        << queries[0];
    EXPECT_NE(queries[0].find("\"limit\": 1"), std::string::npos) << queries[0];
    EXPECT_FALSE(event.IsConnected());
}

TEST_F(WakeupLogDBTest, StoredValuesPassTheFieldRules) {
    struct Case {
        const char* member;
        std::string (*loaded)(const WakeupLogDB&);
        const char* expected;
    } const cases[] = {
        {R"("mailbox": "1234567890123456789012345")",
         [](const WakeupLogDB& e) { return e.mailbox.Get(); }, "12345678901234567890"},
        {R"("mailbox": "10a1")", [](const WakeupLogDB& e) { return e.mailbox.Get(); }, "101"},
        {R"("eventtime": "2024-04-11 06:30")",
         [](const WakeupLogDB& e) { return e.eventtime.Get(); }, "202404110630"},
        {R"("archived": "x20240411070000000")",
         [](const WakeupLogDB& e) { return e.archived.Get(); }, "20240411070000000"},
        {R"("actor": "the \"night\" `desk`")", [](const WakeupLogDB& e) { return e.actor.Get(); },
         "the night desk"},
        // Numbers stored as text are read, a fraction up to its point; anything
        // else keeps the default.
        {R"("count": "4")", [](const WakeupLogDB& e) { return std::to_string(e.count.value); },
         "4"},
        {R"("action": "soon")", [](const WakeupLogDB& e) { return std::to_string(e.action.value); },
         "-1"},
        {R"("line": 1.5)", [](const WakeupLogDB& e) { return std::to_string(e.line.value); }, "1"},
        {R"("line": true)", [](const WakeupLogDB& e) { return std::to_string(e.line.value); }, "1"},
        {R"("line": {"$numberLong": "-3"})",
         [](const WakeupLogDB& e) { return std::to_string(e.line.value); }, "-3"},
        {R"("source": "99999999999")",
         [](const WakeupLogDB& e) { return std::to_string(e.source.value); }, "-1"},
    };
    int n = 0;
    for (const Case& c : cases) {
        Seed({{Oid(++n), "20240411061500000", "wu", c.member}});
        const WakeupLogDB event(Oid(n));
        ASSERT_EQ(event.GetId(), Oid(n)) << c.member;
        EXPECT_EQ(c.loaded(event), c.expected) << c.member;
    }
}

TEST_F(WakeupLogDBTest, ScheduledTimeAndWakeupIdAreReadOnlyAfterARead) {
    WakeupLogDB event = Unread();
    event.eventtime.Set("20240411063000000");
    event.wakeupid.Set("mine");
    EXPECT_EQ(event.eventtime.value, "20240411063000000");
    EXPECT_EQ(event.wakeupid.value, "mine");

    Seed({{Oid(1), "20240411061500000", "wu-1", R"("eventtime": "20240411064500000")"}});
    std::string error;
    for (const std::string& id : {Oid(1), Oid(2)}) {  // found, and not found
        event.Read(id, error);
        const std::string eventtime = event.eventtime.value;
        const std::string wakeupid = event.wakeupid.value;
        event.eventtime.Set("20990101000000000");
        event.wakeupid.Set("changed");
        event.mailbox.Set("555");
        EXPECT_EQ(event.eventtime.value, eventtime) << id;
        EXPECT_EQ(event.wakeupid.value, wakeupid) << id;
        EXPECT_FALSE(event.eventtime.changed || event.wakeupid.changed) << id;
        EXPECT_EQ(event.mailbox.value, "555") << id;
    }

    // Clear makes them writable again.
    event.Clear();
    event.wakeupid.Set("again");
    EXPECT_EQ(event.wakeupid.value, "again");
}

TEST_F(WakeupLogDBTest, ReadResults) {
    Seed({{Oid(1), "20240411061500000", "wu-1", R"("action": 4, "line": 7)"},
          {"65f2000000000000000000ff", "20240411061500000", "wu-2", R"("action": 5)"}});
    WakeupLogDB event = Unread();
    std::string error = "stale";
    ASSERT_EQ(event.Read(Oid(1), error), 0);
    EXPECT_EQ(error, "");
    EXPECT_EQ(event.action.value, 4);

    // Not there: the defaults, and no id.
    error = "stale";
    EXPECT_EQ(event.Read(Oid(2), error), -47);
    EXPECT_EQ(error, "");
    EXPECT_EQ(event.GetId(), "");
    EXPECT_EQ(event.action.value, -1);
    EXPECT_EQ(event.result.value, -1);
    EXPECT_EQ(event.source.value, -1);
    EXPECT_EQ(event.line.value, -1);
    EXPECT_EQ(event.count.value, 0);
    EXPECT_EQ(event.promptid.value, 0);
    EXPECT_EQ(event.timestamp.value, "");

    // Texts that are no ObjectId are refused without a request.
    ASSERT_EQ(event.Read(Oid(1), error), 0);
    const std::size_t before = RequestsOf("query", "kelden.wakeuplog").size();
    EXPECT_EQ(event.Read("65f2000000000000000000zz", error), -47);
    EXPECT_EQ(event.GetId(), "");
    EXPECT_EQ(event.Read("65f2", error), -47);
    EXPECT_EQ(event.Read("not-an-object-id-at-all!", error), -47);
    EXPECT_EQ(RequestsOf("query", "kelden.wakeuplog").size(), before);
    // Upper-case digits name the same ObjectId.
    EXPECT_EQ(event.Read("65f2000000000000000000FF", error), 0);
    EXPECT_EQ(event.GetId(), "65f2000000000000000000ff");
    EXPECT_EQ(event.action.value, 5);

    // An empty id or no connection leaves the record as it was.
    ASSERT_EQ(event.Read(Oid(1), error), 0);
    EXPECT_EQ(event.Read("", error), -50);
    EXPECT_EQ(event.GetId(), Oid(1));
    DBACCESS::DatabaseName.clear();
    EXPECT_EQ(event.Read(Oid(1), error), -50);
    EXPECT_EQ(event.GetId(), Oid(1));
    EXPECT_EQ(event.line.value, 7);
    EXPECT_FALSE(event.IsConnected());
}

TEST_F(WakeupLogDBTest, NumberFieldsStartAndClearToTheirDefaults) {
    using TESTSUPPORT::Defaults;
    using TESTSUPPORT::NumberField;
    using TESTSUPPORT::Of;
    using TESTSUPPORT::Reload;
    TESTSUPPORT::ExpectNumberDefaults({
        {"WakeupLogDB",
         {{"action", -1},
          {"count", 0},
          {"line", -1},
          {"promptid", 0},
          {"result", -1},
          {"source", -1}},
         [](const Defaults& defaults, bool reload) {
             DBACCESS::WakeupLogDB r{std::string()};
             Reload(r, defaults, reload);
             return std::vector<NumberField>{Of(r.action),   Of(r.count),  Of(r.line),
                                             Of(r.promptid), Of(r.result), Of(r.source)};
         }},
    });
}

TEST_F(WakeupLogDBTest, ARefusedReadRaisesWhileAMissingEventStaysNotFound) {
    TESTSUPPORT::ExpectRefusedReads({
        {"wake-up event", "wakeuplog",
         [] { return !WakeupLogDB("65f1000000000000000000a1").GetId().empty(); }},
    });
}

TEST_F(WakeupLogDBTest, AConnectionLostMidReplyReachesTheCaller) {
    Seed({{Oid(1), "20240411061500000", "wu-1", ""}});
    Server().CloseConnectionMidReply("wakeuplog");
    WakeupLogDB event = Unread();
    std::string error;
    EXPECT_THROW(event.Read(Oid(1), error), Poco::Exception);
    EXPECT_FALSE(event.IsConnected());
    event.wakeupid.Set("changed");
    EXPECT_EQ(event.wakeupid.value, "");
    // The next read gets a working connection.
    EXPECT_EQ(event.Read(Oid(1), error), 0);
    EXPECT_EQ(event.wakeupid.Get(), "wu-1");
}

}  // namespace
