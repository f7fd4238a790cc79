#include "relaytally/MDSActivityDB.h"

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "Poco/Exception.h"
#include <gtest/gtest.h>

#include "RelayFixture.h"

namespace {

using DBACCESS::MDSActivityDB;

class MDSActivityDBTest : public RelayFixture {};

// A delivery as the scheduler stores it, with every kind of element the
// record has to take apart.
const char kDelivery[] = R"([{
  "_id": "d1",
  "accountingid": "ACC-7", "calloptions": 3, "confirm": true,
  "contactnumber": "5550100", "creator": "frontdesk", "created": "20240411080000000",
  "delafterpost": true, "deliver": "20240411090000000", "description": "Pool closed",
  "daysbeforecheckout": 2, "emailsent": "20240411090500000", "expiration": "20240412090000000",
  "language": 102, "filepath": "C:\\msgs\\pool.wav", "operator": true, "recid": "12",
  "text": "The pool is closed", "textvoice": "Anna", "type": 1,
  "timestamp": "20240411085959000", "urgent": true,
  "activity": [
    {"activity": 3, "mailbox": "101", "timestamp": "20240411100000000", "detail": "second"},
    {"activity": 1, "mailbox": "101", "timestamp": "20240411090000000", "detail": "first",
     "number": "5550101"},
    {"activity": 4, "mailbox": "102", "detail": "no time"},
    {"activity": 5, "mailbox": "102", "timestamp": "20240411100000000", "detail": "third"},
    "not a document"
  ],
  "recipients": [
    {"activity": 1, "mailbox": "101", "name": "Ana Costa", "room": "101A", "completed": true},
    {"activity": {"$numberLong": "2"}, "mailbox": "102", "name": "Long", "room": "102"},
    {"activity": 2.0, "mailbox": "102", "name": "Double", "room": "102"},
    {"activity": 2, "mailbox": "102", "room": "102"},
    {"activity": 2, "mailbox": "102", "name": "Flag as text", "room": "102", "completed": "yes"},
    {"activity": 2, "mailbox": 102, "name": "Number mailbox", "room": "102"},
    {"activity": 2, "mailbox": "102", "name": "Ben Brandt", "room": "102"},
    {"activity": 3, "mailbox": "101", "name": "Second 101", "room": "101A", "completed": false}
  ],
  "emaillist": [
    {"emailaddress": "desk@example.com"}, {"emailaddress": "desk@example.com"},
    {"emailaddress": ""}, {"other": "x"}, {"emailaddress": 5}, "loose@example.com"
  ],
  "tags": ["a", "b"],
  "channel": "sms"
}])";

TEST_F(MDSActivityDBTest, ReadsEveryFieldOfADelivery) {
    Server().Seed("mdsactivity", kDelivery);
    MDSActivityDB delivery("d1");
    ASSERT_EQ(delivery.GetId(), "d1");

    EXPECT_EQ(delivery.accountingid.Get(), "ACC-7");
    EXPECT_EQ(delivery.calloptions.value, 3);
    EXPECT_TRUE(delivery.confirm.value);
    EXPECT_EQ(delivery.contactnumber.Get(), "5550100");
    EXPECT_EQ(delivery.creator.Get(), "frontdesk");
    EXPECT_EQ(delivery.created.Get(), "20240411080000000");
    EXPECT_TRUE(delivery.delafterpost.value);
    EXPECT_EQ(delivery.deliver.Get(), "20240411090000000");
    EXPECT_EQ(delivery.description.Get(), "Pool closed");
    EXPECT_EQ(delivery.daysbeforecheckout.value, 2);
    EXPECT_EQ(delivery.emailsent.Get(), "20240411090500000");
    EXPECT_EQ(delivery.expiration.Get(), "20240412090000000");
    EXPECT_EQ(delivery.language.value, 102);
    EXPECT_EQ(delivery.filepath.Get(), "C:\\msgs\\pool.wav");
    EXPECT_TRUE(delivery.operator_.value);
    EXPECT_EQ(delivery.recid.Get(), "12");
    EXPECT_EQ(delivery.text.Get(), "The pool is closed");
    EXPECT_EQ(delivery.textvoice.Get(), "Anna");
    EXPECT_EQ(delivery.type.value, 1);
    EXPECT_EQ(delivery.timestamp.Get(), "20240411085959000");
    EXPECT_TRUE(delivery.urgent.value);

    // An undeclared scalar is kept; an undeclared array is dropped.
    EXPECT_EQ(delivery.UndeclaredFields().count("channel"), 1u);
    EXPECT_EQ(delivery.UndeclaredFields().count("tags"), 0u);
    EXPECT_FALSE(delivery.IsConnected());
}

TEST_F(MDSActivityDBTest, ActivityEntriesByTimestampWithoutTheUntimedOnes) {
    Server().Seed("mdsactivity", kDelivery);
    MDSActivityDB delivery("d1");
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& entry : delivery.activities) {
        entries.emplace_back(entry.first, entry.second.detail.Get());
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"20240411090000000", "first"},
        {"20240411100000000", "second"},  // equal time stamps keep their array order
        {"20240411100000000", "third"},
    };
    EXPECT_EQ(entries, expected);
    const DBACCESS::MDSActivity& first = delivery.activities.begin()->second;
    EXPECT_EQ(first.activity.value, 1);
    EXPECT_EQ(first.mailbox.Get(), "101");
    EXPECT_EQ(first.number.Get(), "5550101");
}

TEST_F(MDSActivityDBTest, MalformedRecipientsAndAddressesAreSkippedOneByOne) {
    Server().Seed("mdsactivity", kDelivery);
    MDSActivityDB delivery("d1");
    struct Seen {
        std::string mailbox, name, room;
        int activity;
        bool completed;
        bool operator==(const Seen& o) const {
            return mailbox == o.mailbox && name == o.name && room == o.room &&
                   activity == o.activity && completed == o.completed;
        }
    };
    std::vector<Seen> seen;
    for (const auto& r : delivery.recipients) {
        EXPECT_EQ(r.first, r.second.mailbox.Get());
        seen.push_back({r.second.mailbox.Get(), r.second.name.Get(), r.second.room.Get(),
                        r.second.activity.value, r.second.completed.value});
    }
    const std::vector<Seen> expected = {
        {"101", "Ana Costa", "101A", 1, true},
        {"101", "Second 101", "101A", 3, false},
        {"102", "Ben Brandt", "102", 2, false},
    };
    EXPECT_TRUE(seen == expected) << seen.size() << " recipients";
    EXPECT_EQ(delivery.emailaddresses, std::set<std::string>{"desk@example.com"});
}

TEST_F(MDSActivityDBTest, OutOfRangeDaysBeforeCheckoutKeepTheDefault) {
    Server().Seed("mdsactivity", R"([{"_id": "five", "daysbeforecheckout": 5},
                                     {"_id": "two", "daysbeforecheckout": 2},
                                     {"_id": "minus", "daysbeforecheckout": -1}])");
    EXPECT_EQ(MDSActivityDB("five").daysbeforecheckout.value, 0);
    EXPECT_EQ(MDSActivityDB("two").daysbeforecheckout.value, 2);
    EXPECT_EQ(MDSActivityDB("minus").daysbeforecheckout.value, 0);
    EXPECT_EQ(MDSActivityDB("five").language.value, 101);
}

TEST_F(MDSActivityDBTest, NumberFieldsTakeTheirTextsAsAssignments) {
    // A text that is no number gives 0, not the field's default.
    struct Case {
        const char* document;
        int language;
        int type;
    } const cases[] = {
        {R"({"_id": "x", "language": "Spanish"})", 0, 0},
        {R"j({"_id": "x", "language": "102nd", "type": "2 (checkout)"})j", 102, 2},
        {R"({"_id": "x", "language": 103.9, "type": {"$numberLong": "5000000000"}})", 103, INT_MAX},
        {R"({"_id": "x"})", 101, 0},
    };
    for (const Case& c : cases) {
        Server().Reset();
        Server().Seed("mdsactivity", std::string("[") + c.document + "]");
        MDSActivityDB delivery("x");
        ASSERT_EQ(delivery.GetId(), "x") << c.document;
        EXPECT_EQ(delivery.language.value, c.language) << c.document;
        EXPECT_EQ(delivery.type.value, c.type) << c.document;
    }
}

TEST_F(MDSActivityDBTest, AskedByStringIdForOneDocument) {
    Server().Seed("mdsactivity", kDelivery);
    MDSActivityDB delivery;
    ASSERT_EQ(delivery.Read("d1"), 0);
    const auto queries = RequestsOf("query", "kelden.mdsactivity");
    ASSERT_EQ(queries.size(), 1u);
    EXPECT_NE(queries[0].find("\"query\": {\"_id\": \"d1\"}"), std::string::npos) << queries[0];
    EXPECT_NE(queries[0].find("\"limit\": 1"), std::string::npos) << queries[0];
}

TEST_F(MDSActivityDBTest, ReadResults) {
    Server().Seed("mdsactivity", R"([{"_id": {"$oid": "65f000000000000000000001"}, "type": 2},
                                     {"_id": "there", "type": 3}])");
    MDSActivityDB delivery;
    ASSERT_EQ(delivery.Read("there"), 0);
    EXPECT_EQ(delivery.type.value, 3);

    // Not there: the earlier delivery is gone from the record.
    EXPECT_EQ(delivery.Read("missing"), -47);
    EXPECT_EQ(delivery.GetId(), "");
    EXPECT_EQ(delivery.type.value, 0);

    // An "_id" stored as an ObjectId is not the string of its digits.
    EXPECT_EQ(delivery.Read("65f000000000000000000001"), -47);

    // An empty id is refused without asking the server.
    const std::size_t before = Server().Requests().size();
    EXPECT_EQ(delivery.Read(""), -50);
    EXPECT_EQ(Server().Requests().size(), before);

    // No connection to be had.
    DBACCESS::DatabaseName.clear();
    MDSActivityDB offline;
    EXPECT_EQ(offline.Read("there"), -50);
    EXPECT_EQ(offline.GetId(), "");
}

TEST_F(MDSActivityDBTest, AConnectionLostMidReplyReachesTheCaller) {
    Server().Seed("mdsactivity", kDelivery);
    Server().CloseConnectionMidReply("mdsactivity");
    MDSActivityDB delivery;
    EXPECT_THROW(delivery.Read("d1"), Poco::Exception);
    EXPECT_FALSE(delivery.IsConnected());
    // The next read gets a working connection.
    EXPECT_EQ(delivery.Read("d1"), 0);
}

}  // namespace
