#include "dbaccess/QXRoom.h"

#include <functional>
#include <set>
#include <string>

#include "Poco/MongoDB/Array.h"
#include <gtest/gtest.h>

namespace {

using DBACCESS::QXRoom;

TEST(QXRoomTest, StoredTextsAreCutToTheirLimits) {
    const std::string seventy(70, '7');
    const struct {
        const char* field;
        std::string stored;
        std::string expected;
        std::function<std::string(const QXRoom&)> value;
    } cases[] = {
        {"roomid", std::string(70, 'R'), std::string(59, 'R'),
         [](const QXRoom& r) { return r.roomid.Get(); }},
        {"checkedindate", seventy, std::string(60, '7'),
         [](const QXRoom& r) { return r.checkedindate.Get(); }},
        {"checkedoutdate", seventy, std::string(60, '7'),
         [](const QXRoom& r) { return r.checkedoutdate.Get(); }},
        {"arrivaldate", seventy, std::string(60, '7'),
         [](const QXRoom& r) { return r.arrivaldate.Get(); }},
        {"departuredate", "2024-04-11", "20240411",
         [](const QXRoom& r) { return r.departuredate.Get(); }},
        {"restrict", std::string(100, 'x') + "\"`", std::string(100, 'x'),
         [](const QXRoom& r) { return r.restrict.Get(); }},
        {"roomid", "Suite \"Blue\" 12", "Suite Blue 12",
         [](const QXRoom& r) { return r.roomid.Get(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        QXRoom room;
        room.Clear();
        EXPECT_FALSE(room.SetField(c.field, c.stored));
        EXPECT_EQ(c.expected, c.value(room));
    }
}

TEST(QXRoomTest, KeepsWhatItDoesNotDeclareForTheReader) {
    QXRoom room;
    room.Clear();
    for (const char* declared : {"occupied", "status", "textcount", "vip", "restrict"})
        EXPECT_FALSE(room.SetField(declared, "1")) << declared;
    EXPECT_TRUE(room.SetField("floor", "3"));
    EXPECT_TRUE(room.SetField("roominfo", "x"));
    EXPECT_TRUE(room.occupied.value);
    EXPECT_EQ(1, room.status.value);

    // A text that is no number leaves the default.
    room.Clear();
    EXPECT_FALSE(room.SetField("status", "busy"));
    EXPECT_EQ(0, room.status.value);

    Poco::MongoDB::Array::Ptr other = new Poco::MongoDB::Array();
    EXPECT_TRUE(room.OnArray("keys", other));
    EXPECT_TRUE(room.OnDocument("minibar", new Poco::MongoDB::Document()));
}

TEST(QXRoomTest, GroupIdsLoadAsASetOfStrings) {
    QXRoom room;
    room.Clear();
    Poco::MongoDB::Array::Ptr groups = new Poco::MongoDB::Array();
    groups->add("0", std::string("wedding"));
    groups->add("1", std::string("tour"));
    groups->add("2", 17);
    groups->add("3", std::string("wedding"));
    EXPECT_FALSE(room.OnArray("groupid", groups));
    EXPECT_EQ((std::set<std::string>{"tour", "wedding"}), room.groupid.GetValues());

    room.Clear();
    EXPECT_TRUE(room.groupid.GetValues().empty());
}

}  // namespace
