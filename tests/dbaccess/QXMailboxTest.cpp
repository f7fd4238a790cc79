#include "dbaccess/QXMailbox.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DbFixture.h"
#include "dbaccess/DatabaseException.h"
#include "support/TestServer.h"

namespace {

using DBACCESS::QXMailbox;
using TESTSUPPORT::TestServer;

// A guest mailbox as the product stores it, with a few elements the record
// does not declare.
const char* const kGuestMailbox = R"([{
  "_id": "0101",
  "number": "999",
  "type": 5,
  "tenantid": "2",
  "cosname": "GUEST",
  "script": "Guest.Main",
  "sdafile": "Standard",
  "password": "12ab34",
  "description": "Room \"101\" guest",
  "created": "20240410120000000",
  "updated": "20240411091500000",
  "lastlogin": "20240411080000000",
  "adminaccess": false,
  "callblocking": true,
  "directory": 1,
  "language": 2,
  "msg_volume": 3,
  "msg_speed": -2,
  "mwi_line": 17,
  "timezone": -500,
  "tutorial": false,
  "colour": "blue",
  "extra": {"a": "x", "b": 4},
  "tags": ["one", "two"],
  "name": {"first_display": "Ana", "last_display": "Alvarez", "title": "Ms",
           "first_dtmf": "262", "last_dtmf": "2582739", "lc_first": "ANA",
           "lc_last": "Alvarez", "nickname": "an"},
  "room": {"roomid": "101A", "occupied": true, "status": 2, "textcount": 3,
           "vip": "true", "restrict": "local", "checkedindate": "20240410120000000",
           "groupid": ["tour", "vip", "tour"], "floor": "1",
           "roominfo": {"beds": 2, "view": "sea"}, "guestinfo": {"lang": "es"}},
  "custominfo": {"loyalty": "gold", "visits": 3},
  "email": [{"definition": "ana@example.com", "description": "home", "rank": 1},
            {"definition": "ana@work.example", "pos": 4}],
  "extension": [{"definition": "101"}],
  "prompts": [{"data": "welcome", "description": "Welcome"}],
  "evt": [{"filepath": "C:\\Prompts\\Wake.WAV", "disabled": true, "pos": 1}]
}])";

class QXMailboxTest : public DbFixture {
protected:
    static void Seed(const std::string& json) { TestServer::Get().Seed("mailbox", json); }

    // The mailbox read from a one-document collection holding extra
    // elements on top of {"_id": "101"}.
    static std::unique_ptr<QXMailbox> ReadWith(const std::string& elements) {
        Seed("[{\"_id\": \"101\", " + elements + "}]");
        return std::make_unique<QXMailbox>("101");
    }
};

TEST_F(QXMailboxTest, MailboxNotFoundKeepsEveryDefault) {
    QXMailbox mailbox("101");
    std::string error;
    EXPECT_EQ(-47, mailbox.Read("101", error));
    EXPECT_EQ("Mailbox not found", error);
    EXPECT_EQ("Mailbox not found", mailbox.LastError());
    EXPECT_FALSE(mailbox.HasId());

    EXPECT_EQ("", mailbox.number.Get());
    EXPECT_EQ(-1, mailbox.type.value);
    EXPECT_EQ("6284", mailbox.password.Get());
    EXPECT_EQ("standard", mailbox.sdafile.Get());
    EXPECT_EQ(-800, mailbox.timezone.value);
    EXPECT_TRUE(mailbox.tutorial.value);
    EXPECT_FALSE(mailbox.callblocking.value);
    EXPECT_EQ(0, mailbox.mwiLine.value);
    EXPECT_EQ("", mailbox.tenantid.Get());
    EXPECT_EQ("", mailbox.room.roomid.Get());
    EXPECT_EQ("", mailbox.name.firstDisplay.Get());

    EXPECT_EQ(30u, mailbox.email.Maximum());
    EXPECT_EQ(30u, mailbox.phone.Maximum());
    EXPECT_EQ(20u, mailbox.evt.Maximum());
    EXPECT_EQ(20u, mailbox.crp.Maximum());
    EXPECT_EQ(10u, mailbox.prompts.Maximum());
    EXPECT_EQ(10u, mailbox.lists.Maximum());
    EXPECT_TRUE(mailbox.email.Stored().empty());
    EXPECT_TRUE(mailbox.folders.Stored().empty());
}

TEST_F(QXMailboxTest, ReadsEveryPartOfAStoredMailbox) {
    Seed(kGuestMailbox);
    QXMailbox mailbox("0101");

    EXPECT_EQ("", mailbox.LastError());
    EXPECT_EQ("0101", mailbox.number.Get());
    EXPECT_TRUE(mailbox.HasId());
    EXPECT_EQ(DBACCESS::MongoDBBase::kIdString, mailbox.IdKind());
    EXPECT_EQ("0101", mailbox.IdText());
    EXPECT_EQ(5, mailbox.type.value);
    EXPECT_EQ("2", mailbox.tenantid.Get());
    EXPECT_EQ("guest", mailbox.cosname.Get());
    EXPECT_EQ("guest.main", mailbox.script.Get());
    EXPECT_EQ("standard", mailbox.sdafile.Get());
    EXPECT_EQ("1234", mailbox.password.Get());
    EXPECT_EQ("Room 101 guest", mailbox.description.Get());
    EXPECT_EQ("20240410120000000", mailbox.created.Get());
    EXPECT_EQ("20240411091500000", mailbox.updated.Get());
    EXPECT_EQ("20240411080000000", mailbox.lastlogin.Get());
    EXPECT_FALSE(mailbox.adminaccess.value);
    EXPECT_TRUE(mailbox.callblocking.value);
    EXPECT_TRUE(mailbox.directory.value);
    EXPECT_EQ(2, mailbox.language.value);
    EXPECT_EQ(3, mailbox.msgVolume.value);
    EXPECT_EQ(-2, mailbox.msgSpeed.value);
    EXPECT_EQ(17, mailbox.mwiLine.value);
    EXPECT_EQ(-500, mailbox.timezone.value);
    EXPECT_FALSE(mailbox.tutorial.value);
    EXPECT_FALSE(mailbox.cosname.changed);
    EXPECT_FALSE(mailbox.type.changed);

    EXPECT_EQ("Ana", mailbox.name.firstDisplay.Get());
    EXPECT_EQ("Alvarez", mailbox.name.lastDisplay.Get());
    EXPECT_EQ("Ms", mailbox.name.title.Get());
    EXPECT_EQ("262", mailbox.name.firstDtmf.Get());
    EXPECT_EQ("2582739", mailbox.name.lastDtmf.Get());
    EXPECT_EQ("ana", mailbox.name.lcFirst.Get());
    EXPECT_EQ("alvarez", mailbox.name.lcLast.Get());
    EXPECT_TRUE(mailbox.name.UndeclaredFields().empty());

    EXPECT_EQ("101A", mailbox.room.roomid.Get());
    EXPECT_TRUE(mailbox.room.occupied.value);
    EXPECT_EQ(2, mailbox.room.status.value);
    EXPECT_EQ(3, mailbox.room.textcount.value);
    EXPECT_TRUE(mailbox.room.vip.value);
    EXPECT_EQ("local", mailbox.room.restrict.Get());
    EXPECT_EQ("20240410120000000", mailbox.room.checkedindate.Get());
    EXPECT_EQ((std::set<std::string>{"tour", "vip"}), mailbox.room.groupid.GetValues());
    ASSERT_EQ(1u, mailbox.room.UndeclaredFields().count("floor"));
    EXPECT_EQ("1", mailbox.room.UndeclaredFields().at("floor").value.Get());
    EXPECT_EQ("sea", mailbox.room.roominfo.UndeclaredFields().at("view").value.Get());
    EXPECT_EQ("2", mailbox.room.roominfo.UndeclaredFields().at("beds").value.Get());
    EXPECT_EQ("es", mailbox.room.guestinfo.UndeclaredFields().at("lang").value.Get());
    EXPECT_EQ("gold", mailbox.custominfo.UndeclaredFields().at("loyalty").value.Get());
    EXPECT_EQ("3", mailbox.custominfo.UndeclaredFields().at("visits").value.Get());

    const auto& email = mailbox.email.Stored();
    ASSERT_EQ(2u, email.size());
    EXPECT_EQ("ana@example.com", email.at(0).definition.Get());
    EXPECT_EQ("home", email.at(0).description.Get());
    EXPECT_EQ(1, email.at(0).rank.value);
    EXPECT_EQ("ana@work.example", email.at(4).definition.Get());
    EXPECT_EQ("101", mailbox.extension.Stored().at(0).definition.Get());
    EXPECT_EQ("welcome", mailbox.prompts.Stored().at(0).data.Get());
    EXPECT_EQ("Welcome", mailbox.prompts.Stored().at(0).description.Get());
    ASSERT_EQ(1u, mailbox.evt.Stored().count(1));
    EXPECT_EQ("c:\\prompts\\wake.wav", mailbox.evt.Stored().at(1).filepath.Get());
    EXPECT_TRUE(mailbox.evt.Stored().at(1).disabled.value);
    for (const auto* empty : {&mailbox.mwi, &mailbox.mailbox, &mailbox.pager, &mailbox.phone})
        EXPECT_TRUE(empty->Stored().empty());

    // What the record does not declare: scalars and flattened sub-documents
    // are kept, arrays of other names are dropped, and a stored "number"
    // never reaches the mailbox number.
    const auto& undeclared = mailbox.UndeclaredFields();
    EXPECT_EQ("999", undeclared.at("number").value.Get());
    EXPECT_EQ("blue", undeclared.at("colour").value.Get());
    EXPECT_EQ("x", undeclared.at("extra.a").value.Get());
    EXPECT_EQ("4", undeclared.at("extra.b").value.Get());
    EXPECT_EQ(0u, undeclared.count("tags"));
    EXPECT_EQ(0u, undeclared.count("name.nickname"));
    EXPECT_EQ(0u, undeclared.count("room.floor"));
}

TEST_F(QXMailboxTest, SendsOneQueryForTheNumberAsGiven) {
    Seed(kGuestMailbox);
    QXMailbox mailbox("0101");
    const std::vector<std::string> requests = TestServer::Get().Requests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_NE(std::string::npos, requests[0].find("\"ns\": \"kelden.mailbox\""));
    EXPECT_NE(std::string::npos, requests[0].find("\"query\": {\"_id\": \"0101\"}"));
    EXPECT_NE(std::string::npos, requests[0].find("\"limit\": 1"));
}

TEST_F(QXMailboxTest, NumberComesFromTheStoredIdOnly) {
    const struct {
        const char* id;
        const char* number;
    } cases[] = {
        {"007", "007"},
        {"1234567890123456789012345", "12345678901234567890"},
        {"12ab3", "123"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        TestServer::Get().Reset();
        Seed(std::string("[{\"_id\": \"") + c.id + "\"}]");
        QXMailbox mailbox(c.id);
        EXPECT_EQ(c.number, mailbox.number.Get());
        EXPECT_EQ(c.id, mailbox.IdText());
    }
}

TEST_F(QXMailboxTest, NumberWithoutDigitsNeverReadsAsFound) {
    Seed(R"([{"_id": "front desk", "type": 5}])");
    QXMailbox mailbox("front desk");
    std::string error;
    EXPECT_EQ(-47, mailbox.Read("front desk", error));
    EXPECT_EQ("Mailbox not found", error);
    EXPECT_EQ("", mailbox.number.Get());
}

TEST_F(QXMailboxTest, RangedFieldsRefuseStoredValuesOutsideTheirRange) {
    const struct {
        const char* element;
        int stored;
        int expected;
        std::function<int(const QXMailbox&)> field;
    } cases[] = {
        {"msg_volume", 7, 0, [](const QXMailbox& m) { return m.msgVolume.value; }},
        {"msg_volume", -6, 0, [](const QXMailbox& m) { return m.msgVolume.value; }},
        {"msg_volume", 5, 5, [](const QXMailbox& m) { return m.msgVolume.value; }},
        {"msg_volume", -5, -5, [](const QXMailbox& m) { return m.msgVolume.value; }},
        {"msg_speed", 6, 0, [](const QXMailbox& m) { return m.msgSpeed.value; }},
        {"prompt_volume", -9, 0, [](const QXMailbox& m) { return m.promptVolume.value; }},
        {"prompt_speed", 4, 4, [](const QXMailbox& m) { return m.promptSpeed.value; }},
        {"mwi_line", 2001, 0, [](const QXMailbox& m) { return m.mwiLine.value; }},
        {"mwi_line", -1, 0, [](const QXMailbox& m) { return m.mwiLine.value; }},
        {"mwi_line", 2000, 2000, [](const QXMailbox& m) { return m.mwiLine.value; }},
        {"language", -70000, -70000, [](const QXMailbox& m) { return m.language.value; }},
        {"timezone", 330, 330, [](const QXMailbox& m) { return m.timezone.value; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.element) + " " + std::to_string(c.stored));
        TestServer::Get().Reset();
        const auto mailbox =
            ReadWith("\"" + std::string(c.element) + "\": " + std::to_string(c.stored));
        ASSERT_EQ("101", mailbox->number.Get());
        EXPECT_EQ(c.expected, c.field(*mailbox));
    }
}

TEST_F(QXMailboxTest, LowerCasedTextsLoadInLowerCase) {
    const auto mailbox = ReadWith(R"("cosname": "VIP Guest", "script": "HOTEL", "sdafile": "Suite",
                                   "sponsor": "Travel CO", "profileid": "Gold")");
    EXPECT_EQ("vip guest", mailbox->cosname.Get());
    EXPECT_EQ("hotel", mailbox->script.Get());
    EXPECT_EQ("suite", mailbox->sdafile.Get());
    EXPECT_EQ("Travel CO", mailbox->sponsor.Get());
    EXPECT_EQ("Gold", mailbox->profileid.Get());
}

TEST_F(QXMailboxTest, NumberAndTypeStayReadOnlyAfterARead) {
    for (const bool found : {true, false}) {
        SCOPED_TRACE(found ? "found" : "not found");
        TestServer::Get().Reset();
        if (found) Seed(R"([{"_id": "101", "type": 5, "created": "1", "updated": "2"}])");
        QXMailbox mailbox("101");

        const std::string number = mailbox.number.Get();
        const int type = mailbox.type.value;
        EXPECT_EQ(number, mailbox.number.Set("555"));
        EXPECT_EQ(type, mailbox.type.Set(3, true));
        EXPECT_FALSE(mailbox.number.changed);
        EXPECT_FALSE(mailbox.type.changed);

        EXPECT_EQ("777", mailbox.created.Set("777"));
        EXPECT_EQ("888", mailbox.updated.Set("888"));
        EXPECT_EQ(7, mailbox.language.Set(7, true));
    }
}

TEST_F(QXMailboxTest, EmptyNumberSendsNothing) {
    QXMailbox mailbox("");
    EXPECT_EQ("No number specified", mailbox.LastError());
    std::string error;
    EXPECT_EQ(3, mailbox.Read("", error));
    EXPECT_EQ("No number specified", error);
    EXPECT_TRUE(TestServer::Get().Requests().empty());
    // No query ran, so the number was never locked.
    EXPECT_EQ("42", mailbox.number.Set("42"));
}

TEST_F(QXMailboxTest, ServerDownGivesNoConnection) {
    const auto held = HoldIdleConnections();
    TestServer::Get().StopListening();
    QXMailbox mailbox("101");
    EXPECT_EQ("Unable to connect", mailbox.LastError());
    EXPECT_NE("", mailbox.Access().LastError());
    std::string error;
    EXPECT_EQ(-50, mailbox.Read("101", error));
    EXPECT_EQ("Unable to connect", error);
    EXPECT_EQ("", mailbox.number.Get());
}

TEST_F(QXMailboxTest, KeptMailboxesHoldNoConnection) {
    Seed(R"([{"_id": "101"}, {"_id": "102"}, {"_id": "103"}])");
    std::vector<std::unique_ptr<QXMailbox>> kept;
    for (const char* number : {"101", "102", "103", "104"}) {
        kept.push_back(std::make_unique<QXMailbox>(number));
        EXPECT_FALSE(kept.back()->IsConnected());
    }
    EXPECT_EQ("103", kept[2]->number.Get());
    EXPECT_LE(TestServer::Get().AcceptedConnections(), 1);
    EXPECT_GE(IdleConnections(), 1u);
}

// A mailbox the library cannot read (nested deeper than any reply may be)
// reads as not found, with nothing half loaded; a reply cut off in the
// middle or malformed is the database failing, not the mailbox, and passes
// on.
TEST_F(QXMailboxTest, UnreadableMailboxReadsAsNotFoundWhileACutReplyRaises) {
    Seed(kGuestMailbox);
    std::string deep = R"({"_id": "0102", "type": 5, "custominfo": )";
    for (int i = 0; i < 101; ++i) deep += R"({"n": )";
    deep += "1" + std::string(101, '}') + "}";
    Seed("[" + deep + "]");

    QXMailbox unreadable("0102");
    EXPECT_EQ(0u, unreadable.LastError().rfind("Malformed reply: kelden.mailbox: ", 0))
        << unreadable.LastError();
    EXPECT_EQ("", unreadable.number.Get());
    EXPECT_EQ(-1, unreadable.type.value);
    EXPECT_EQ("standard", unreadable.sdafile.Get());
    EXPECT_FALSE(unreadable.IsConnected());

    TestServer::Get().CloseConnectionMidReply("mailbox");
    EXPECT_THROW(QXMailbox("0101"), DBACCESS::ConnectionClosedException);
    for (const char* how : {"op_msg", "short", "stale"}) {
        SCOPED_TRACE(how);
        TestServer::Get().MangleNextReply("mailbox", how);
        EXPECT_THROW(QXMailbox("0101"), DBACCESS::MalformedReplyException);
    }

    // The broken connections went nowhere near the pool: the next read works.
    QXMailbox next("0101");
    EXPECT_EQ("0101", next.number.Get());
    EXPECT_EQ("", next.LastError());
}

TEST_F(QXMailboxTest, SecondReadStartsFromDefaults) {
    Seed(R"([{"_id": "101", "type": 5, "sdafile": "suite", "tenantid": "2",
              "email": [{"definition": "a@example.com"}], "room": {"roomid": "9"}},
             {"_id": "102"}])");
    QXMailbox mailbox("101");
    ASSERT_EQ("suite", mailbox.sdafile.Get());
    std::string error;
    EXPECT_EQ(0, mailbox.Read("102", error));
    EXPECT_EQ("102", mailbox.number.Get());
    EXPECT_EQ(-1, mailbox.type.value);
    EXPECT_EQ("standard", mailbox.sdafile.Get());
    EXPECT_EQ("", mailbox.tenantid.Get());
    EXPECT_EQ("", mailbox.room.roomid.Get());
    EXPECT_TRUE(mailbox.email.Stored().empty());
    EXPECT_EQ(30u, mailbox.email.Maximum());
}

}  // namespace
