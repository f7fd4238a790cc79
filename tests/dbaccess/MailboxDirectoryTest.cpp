#include "dbaccess/MailboxDirectory.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DbFixture.h"
#include "support/TestServer.h"

namespace {

using TESTSUPPORT::TestServer;

std::vector<std::string> Keys(const MailboxDirectory& directory) {
    std::vector<std::string> keys;
    for (const auto& entry : directory) keys.push_back(entry.first);
    return keys;
}

TEST(MailboxNumberLessTest, OrdersDigitStringsByValueAndLeadingZerosApart) {
    const std::string twenty(20, '1');
    const struct {
        std::string a;
        std::string b;
        bool less;
    } cases[] = {
        {"99", "100", true},
        {"100", "99", false},
        {"7", "10", true},
        {"101", "0101", true},
        {"0101", "101", false},
        {"0101", "1000", true},
        {"101", "101", false},
        {"1000000000000000000", "999999999999999999", false},  // 19 digits: padded alike
        {"999", twenty, true},                                 // space comes before any digit
        {twenty, "2", false},
        // 20 characters and more are not padded, so they compare as texts.
        {twenty, "21111111111111111111", true},
        {"9999999999999999999", twenty, false},
        {"", "0", true},
    };
    const MailboxNumberLess less;
    for (const auto& c : cases)
        EXPECT_EQ(c.less, less(c.a, c.b)) << '"' << c.a << "\" < \"" << c.b << '"';
}

class MailboxDirectoryTest : public DbFixture {
protected:
    static void Seed(const std::string& json) { TestServer::Get().Seed("mailbox", json); }
};

TEST_F(MailboxDirectoryTest, HoldsOnlyGuestMailboxesInNumberOrder) {
    Seed(R"([
      {"_id": "1000", "type": 5}, {"_id": "0101", "type": 5}, {"_id": "101", "type": 5},
      {"_id": "7", "type": 5}, {"_id": "10", "type": 5}, {"_id": "200", "type": 3},
      {"_id": "201"}, {"_id": "202", "type": -5}, {"_id": "203", "type": 50},
      {"_id": "", "type": 5}
    ])");
    const MailboxDirectory directory = LoadMailboxDirectory("", "mailbox");
    EXPECT_EQ((std::vector<std::string>{"7", "10", "101", "0101", "1000"}), Keys(directory));
    EXPECT_EQ("0101", directory.at("0101").number.Get());
    EXPECT_EQ(5, directory.at("101").type.value);

    // One query for the whole collection, with the summary's fields only.
    const std::vector<std::string> queries = RequestsOf("query");
    ASSERT_EQ(1u, queries.size());
    EXPECT_NE(std::string::npos, queries[0].find("\"query\": {\"$query\": {}}"));
    EXPECT_NE(std::string::npos, queries[0].find("\"extension.definition\": 1"));
    EXPECT_NE(std::string::npos, queries[0].find("\"room.roomid\": 1"));
}

TEST_F(MailboxDirectoryTest, SummarisesAStoredMailbox) {
    Seed(R"([{
      "_id": "101", "type": 5, "tenantid": "2", "cosname": "guest", "sdafile": "standard",
      "description": "Room \"101\"", "directory": true, "callblocking": true,
      "created": "20240410120000000", "updated": "20240411091500000",
      "extension": [{"definition": "2101"}, {"definition": "2102"}],
      "name": {"title": "Ms", "first_display": "Ana", "last_display": "Alvarez", "lc_first": "ana"},
      "room": {"roomid": "101A", "occupied": true, "status": 2, "textcount": 3, "vip": false,
               "restrict": "local", "groupid": ["tour"]},
      "password": "1234", "email": [{"definition": "ana@example.com"}]
    }])");
    const MailboxDirectory directory = LoadMailboxDirectory("", "mailbox");
    ASSERT_EQ(1u, directory.count("101"));
    const DBACCESS::QXMailboxDirectoryEntry& entry = directory.at("101");
    EXPECT_EQ("101", entry.number.Get());
    EXPECT_EQ(5, entry.type.value);
    EXPECT_EQ("2", entry.tenantid.Get());
    EXPECT_EQ("guest", entry.cosname.Get());
    EXPECT_EQ("standard", entry.sdafile.Get());
    EXPECT_EQ("Room 101", entry.description.Get());
    EXPECT_TRUE(entry.directory.value);
    EXPECT_TRUE(entry.callblocking.value);
    EXPECT_EQ("20240410120000000", entry.created.Get());
    EXPECT_EQ("20240411091500000", entry.updated.Get());
    EXPECT_EQ("2101", entry.extension.Get());
    EXPECT_EQ("Ms", entry.title.Get());
    EXPECT_EQ("Ana", entry.firstName.Get());
    EXPECT_EQ("Alvarez", entry.lastName.Get());
    EXPECT_EQ("101A", entry.roomid.Get());
    EXPECT_TRUE(entry.occupied.value);
    EXPECT_EQ(2, entry.status.value);
    EXPECT_EQ(3, entry.textcount.value);
    EXPECT_FALSE(entry.vip.value);
    EXPECT_EQ("local", entry.restrict.Get());

    // A copy carries every member.
    const DBACCESS::QXMailboxDirectoryEntry copy(entry);
    EXPECT_EQ("101A", copy.roomid.Get());
    EXPECT_EQ(2, copy.status.value);
}

TEST_F(MailboxDirectoryTest, MalformedMailboxesFollowTheTextRules) {
    Seed(R"([
      {"_id": "301", "type": "5", "room": "101", "extension": {"definition": "9"},
       "name": "Ana", "callblocking": "yes", "tenantid": 7},
      {"_id": "302", "type": {"$numberDouble": "5.0"}, "room": {"status": "busy", "vip": 1,
       "roomid": 12, "occupied": "on"}, "extension": [], "name": {"first_display": 42}},
      {"_id": "303", "type": 5, "extension": "2303", "room": {"textcount": {"$numberLong": "4"}}},
      {"_id": "304", "type": "five"},
      {"_id": 305, "type": 5},
      {"_id": {"$oid": "65a1b2c3d4e5f60718293a4b"}, "type": 5}
    ])");
    MailboxDirectory directory;
    ASSERT_NO_THROW(directory = LoadMailboxDirectory("", "mailbox"));

    ASSERT_EQ(1u, directory.count("301"));
    const auto& first = directory.at("301");
    EXPECT_EQ("", first.roomid.Get());
    EXPECT_EQ(0, first.status.value);
    EXPECT_EQ("", first.extension.Get());
    EXPECT_EQ("", first.firstName.Get());
    EXPECT_FALSE(first.callblocking.value);
    EXPECT_EQ("7", first.tenantid.Get());

    ASSERT_EQ(1u, directory.count("302"));
    const auto& second = directory.at("302");
    EXPECT_EQ(0, second.status.value);
    EXPECT_TRUE(second.vip.value);
    EXPECT_TRUE(second.occupied.value);
    EXPECT_EQ("12", second.roomid.Get());
    EXPECT_EQ("", second.extension.Get());
    EXPECT_EQ("42", second.firstName.Get());

    ASSERT_EQ(1u, directory.count("303"));
    EXPECT_EQ("", directory.at("303").extension.Get());
    EXPECT_EQ(4, directory.at("303").textcount.value);

    EXPECT_EQ(0u, directory.count("304"));
    EXPECT_EQ("305", directory.at("305").number.Get());
    // Without a room, and met right after 303: nothing of an earlier hit
    // carries over.
    const auto& roomless = directory.at("305");
    EXPECT_EQ(0, roomless.textcount.value);
    EXPECT_EQ(0, roomless.status.value);
    EXPECT_FALSE(roomless.occupied.value);
    EXPECT_FALSE(roomless.vip.value);
    EXPECT_EQ("", roomless.restrict.Get());
    EXPECT_EQ("", roomless.roomid.Get());
    // An ObjectId "_id" is its hexadecimal text, of which the digits remain.
    EXPECT_EQ(1u, directory.count("6512345607182934"));
    EXPECT_EQ(5u, directory.size());
}

TEST_F(MailboxDirectoryTest, FirstMailboxOfANumberIsKept) {
    // "12ab3" keeps the digits 123, like the mailbox "123" met before it.
    Seed(R"([{"_id": "12ab3", "type": 5, "room": {"roomid": "second"}},
             {"_id": "123", "type": 5, "room": {"roomid": "first"}},
             {"_id": "front desk", "type": 5}])");
    const MailboxDirectory directory = LoadMailboxDirectory("", "mailbox");
    EXPECT_EQ((std::vector<std::string>{"123"}), Keys(directory));
    EXPECT_EQ("first", directory.at("123").roomid.Get());
}

TEST_F(MailboxDirectoryTest, TenantIdSelectsThatTenantsMailboxes) {
    Seed(R"([{"_id": "101", "type": 5, "tenantid": "1"}, {"_id": "102", "type": 5, "tenantid": "2"},
             {"_id": "103", "type": 5, "tenantid": "2"}, {"_id": "104", "type": 3, "tenantid": "2"}])");
    EXPECT_EQ((std::vector<std::string>{"102", "103"}), Keys(LoadMailboxDirectory("2", "mailbox")));
    const std::vector<std::string> queries = RequestsOf("query");
    ASSERT_EQ(1u, queries.size());
    EXPECT_NE(std::string::npos, queries[0].find("\"query\": {\"tenantid\": \"2\"}"));
}

TEST_F(MailboxDirectoryTest, NoServerGivesEmptyMaps) {
    Seed(R"([{"_id": "101", "type": 5}])");
    TestServer::Get().Seed("tenant", R"([{"_id": "1", "name": "Main"}])");
    const auto held = HoldIdleConnections();
    TestServer::Get().StopListening();
    EXPECT_TRUE(LoadMailboxDirectory("", "mailbox").empty());
    EXPECT_TRUE(LoadTenantNames("tenant").empty());
}

TEST_F(MailboxDirectoryTest, TenantNamesByIdKeepingTheFirstNameOfAnId) {
    // " 1" and "1" are one id once trimmed; names are visited in order, so
    // "Another" comes first.
    TestServer::Get().Seed("tenant", R"([
      {"_id": "1", "name": "Main"}, {"_id": "2", "name": " Harbour Wing "},
      {"_id": "3", "name": "Main"}, {"_id": "4"}, {"_id": " 5 ", "name": "Annex"},
      {"_id": {"$oid": "65a1b2c3d4e5f60718293a4b"}, "name": "Spa"},
      {"_id": 6, "name": "Conference"}, {"_id": 7, "name": ""},
      {"_id": " 1", "name": "Another"}
    ])");
    const TenantNames expected = {{"1", "Another"},
                                  {"2", "Harbour Wing"},
                                  {"3", "Main"},
                                  {"5", "Annex"},
                                  {"65a1b2c3d4e5f60718293a4b", "Spa"},
                                  {"6", "Conference"},
                                  {"7", ""}};
    EXPECT_EQ(expected, LoadTenantNames("tenant"));
}

}  // namespace
