// Element texts, kept fields turned back into elements, free-form
// sub-documents and ObjectId texts, on values built in memory.

#include <string>
#include <vector>

#include <Poco/MongoDB/Array.h>
#include <Poco/MongoDB/Document.h>
#include <Poco/MongoDB/Element.h>
#include <Poco/MongoDB/ObjectId.h>
#include <Poco/String.h>
#include <Poco/Timestamp.h>
#include <gtest/gtest.h>

#include "dbaccess/DocumentField.h"
#include "dbaccess/ElementText.h"
#include "dbaccess/ObjectIdText.h"
#include "dbaccess/SubDocument.h"
#include "support/ZoneScope.h"

namespace {

std::string DateText(Poco::Timestamp::TimeVal utcMilliseconds) {
    const Poco::MongoDB::ConcreteElement<Poco::Timestamp> element(
        "t", Poco::Timestamp(utcMilliseconds * 1000));
    return DBACCESS::ElementText(element);
}

TEST(ElementTextTest, DatetimesBecomeLocalDatabaseTimeText) {
    // 2026-01-01 00:00:00.123 UTC.
    const Poco::Timestamp::TimeVal newYear = 1767225600123LL;
    TESTSUPPORT::ZoneScope zone("UTC0");
    EXPECT_EQ(DateText(newYear), "20260101000000123");
    zone.Set("ABC+5");
    EXPECT_EQ(DateText(newYear), "20251231190000123");
    // Only years of four digits make a 17-digit text.
    zone.Set("UTC0");
    EXPECT_EQ(DateText(-11644473600000LL), "16010101000000000");
    EXPECT_EQ(DateText(-11644473600001LL), "");
    EXPECT_EQ(DateText(253402300799999LL), "99991231235959999");
    EXPECT_EQ(DateText(253402300800000LL), "");
    zone.Set("ABC-5");
    EXPECT_EQ(DateText(253402300799999LL), "");
}

TEST(ElementTextTest, IdsAndIntegersBecomePlainText) {
    using Poco::MongoDB::ConcreteElement;
    using Poco::MongoDB::ObjectId;
    struct Case {
        Poco::MongoDB::Element::Ptr element;
        const char* text;
    };
    const Case cases[] = {
        {new ConcreteElement<ObjectId::Ptr>("id", new ObjectId("5F1A2B3C4D5E6F7081920A1B")),
         "5f1a2b3c4d5e6f7081920a1b"},
        {new ConcreteElement<ObjectId::Ptr>("id", new ObjectId("00ff0a09f0000000000000ff")),
         "00ff0a09f0000000000000ff"},
        {new ConcreteElement<ObjectId::Ptr>("id", ObjectId::Ptr()), ""},
        {new ConcreteElement<Poco::Int32>("n", 0), "0"},
        {new ConcreteElement<Poco::Int32>("n", -7), "-7"},
        {new ConcreteElement<Poco::Int32>("n", 2147483647), "2147483647"},
        {new ConcreteElement<Poco::Int32>("n", -2147483647 - 1), "-2147483648"},
        {new ConcreteElement<Poco::Int64>("n", 9007199254740993LL), "9007199254740993"},
        {new ConcreteElement<Poco::Int64>("n", -9223372036854775807LL - 1), "-9223372036854775808"},
        {new ConcreteElement<Poco::Int64>("n", -1), "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DBACCESS::ElementText(*c.element), c.text);
    }
}

TEST(DocumentFieldTest, ToElementRebuildsTheTypesItCan) {
    struct Case {
        int type;
        const char* text;
        const char* element;  // the element's text, "" for none
        int elementType;
    };
    const Case cases[] = {
        {1, " 2.5 ", "2.5", 1},
        {1, "x", "0", 1},
        {2, "  padded  ", "\"padded\"", 2},
        {9, "20260101000000123", "\"20260101000000123\"", 2},  // back as a string
        {8, "1", "true", 8},
        {8, "off", "false", 8},
        {16, "-7", "-7", 16},
        {16, "12abc", "12", 16},
        // Left to ToDocument, which converts them itself.
        {18, "9007199254740993", "", 0},
        {7, "5f1a2b3c4d5e6f7081920a1b", "", 0},
        {4, R"(["a","b"])", "", 0},
        {10, "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + c.text);
        const DBACCESS::DocumentField field(c.type, "f", c.text);
        EXPECT_EQ(field.value.value, c.text);
        EXPECT_FALSE(field.value.changed);
        const Poco::MongoDB::Element::Ptr element = field.ToElement();
        if (c.elementType == 0) {
            EXPECT_TRUE(element.isNull());
            continue;
        }
        ASSERT_FALSE(element.isNull());
        EXPECT_EQ(element->name(), "f");
        EXPECT_EQ(element->type(), c.elementType);
        EXPECT_EQ(element->toString(), c.element);
    }
}

TEST(SubDocumentTest, KeepsEveryElementAndWritesBackWhatHasABsonForm) {
    Poco::MongoDB::Document::Ptr stored = new Poco::MongoDB::Document;
    stored->add("zone", std::string("east")).add("floor", 3).add("smoker", false);
    stored->add("guest", static_cast<Poco::Int64>(9007199254740993LL));
    stored->add("ref", Poco::MongoDB::ObjectId::Ptr(
                           new Poco::MongoDB::ObjectId("5f1a2b3c4d5e6f7081920a1b")));
    stored->addNewDocument("bed").add("size", std::string("king"));
    Poco::MongoDB::Array::Ptr tags = new Poco::MongoDB::Array;
    tags->add("0", std::string("vip"));
    stored->add("tags", tags);

    DBACCESS::SubDocument info;
    info.LoadDocument(stored);
    std::vector<std::string> names;
    for (const auto& entry : info.UndeclaredFields()) names.push_back(entry.first);
    EXPECT_EQ(names, (std::vector<std::string>{"bed.size", "floor", "guest", "ref", "smoker",
                                               "tags", "zone"}));

    // Name order, not read order; ObjectIds and 64-bit integers keep their
    // types; the array kept as text has no element.
    const Poco::MongoDB::Document::Ptr written = info.ToDocument();
    EXPECT_EQ(written->toString(),
              R"({"bed.size":"king","floor":3,"guest":9007199254740993,)"
              R"("ref":5f1a2b3c4d5e6f7081920a1b,"smoker":false,"zone":"east"})");
    EXPECT_EQ(written->get("guest")->type(), 18);
    EXPECT_EQ(written->get("ref")->type(), 7);

    info.Clear();
    EXPECT_TRUE(info.UndeclaredFields().empty());
    EXPECT_EQ(info.ToDocument()->size(), 0u);
}

TEST(ObjectIdTextTest, OnlyTwentyFourHexDigitsMakeAnObjectIdAndItsTextIsThem) {
    struct Case {
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"5f1a2b3c4d5e6f7081920a1b", true},
        {"5F1A2B3C4D5E6F7081920A1B", true},
        {"", false},
        {"abc", false},  // the library's constructor would read 21 bytes past it
        {"5f1a2b3c4d5e6f7081920a1", false},
        {"5f1a2b3c4d5e6f7081920a1b0", false},
        {"5f1a2b3c4d5e6f7081920a1g", false},
        {" 5f1a2b3c4d5e6f7081920a1", false},
        {std::string("5f1a2b3c4d5e\0f7081920a1b", 24), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DBACCESS::IsObjectIdText(c.text), c.valid);
        const Poco::MongoDB::ObjectId::Ptr id = DBACCESS::MakeObjectId(c.text);
        ASSERT_EQ(id.isNull(), !c.valid);
        if (c.valid) {
            EXPECT_EQ(id->toString(), Poco::toLower(c.text));
            EXPECT_EQ(DBACCESS::ObjectIdText(id), Poco::toLower(c.text));
        }
    }
}

}  // namespace
