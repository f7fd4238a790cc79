#include <string>
#include <tuple>
#include <vector>

#include <Poco/Exception.h>
#include <Poco/MongoDB/Array.h>
#include <Poco/MongoDB/Document.h>

#include "DbFixture.h"
#include "ProbeRecord.h"
#include "dbaccess/DocumentField.h"
#include "dbaccess/MongoDBBase.h"
#include "support/ZoneScope.h"

namespace {

using Field = std::tuple<std::string, int, std::string>;  // name, BSON type, text

std::vector<Field> Fields(const DBACCESS::DocumentFields& fields) {
    std::vector<Field> out;
    for (const auto& entry : fields) {
        EXPECT_EQ(entry.first, entry.second.value.name);
        EXPECT_FALSE(entry.second.value.changed) << entry.first;
        out.emplace_back(entry.first, entry.second.type, entry.second.value.value);
    }
    return out;
}

const char* const kOid = "5f1a2b3c4d5e6f7081920a1b";
const char* const kOtherOid = "0123456789abcdef01234567";

// One element of every type the server can send, at the top level, in a
// sub-document two deep and in arrays. 1767225600123 is
// 2026-01-01 00:00:00.123 UTC.
const char* const kEveryType = R"([{
  "_id": {"$oid": "5f1a2b3c4d5e6f7081920a1b"},
  "dbl": {"$numberDouble": "2.5"}, "million": {"$numberDouble": "1000000.0"},
  "third": {"$numberDouble": "0.3333333333333333"}, "tenth": {"$numberDouble": "0.1"},
  "text": "abc", "yes": true, "no": false, "i32": -7,
  "i64": {"$numberLong": "9007199254740993"},
  "when": {"$date": {"$numberLong": "1767225600123"}},
  "last": {"$date": {"$numberLong": "253402300799999"}},
  "none": null, "bin": {"$binary": {"base64": "AAEC", "subType": "00"}},
  "re": {"$regularExpression": {"pattern": "^a", "options": "i"}},
  "other": {"$oid": "0123456789abcdef01234567"},
  "sub": {"d": {"$numberDouble": "0.1"}, "l": {"$numberLong": "-9007199254740993"},
          "b": false, "t": {"$date": {"$numberLong": "1767225600123"}},
          "o": {"$oid": "0123456789abcdef01234567"}, "inner": {"c": "deep"}},
  "tags": ["a", "b"], "nums": [1, 2],
  "docs": [{"definition": "201", "rank": 2}, "loose", 3, {"definition": "202"}]
}])";

// The scalar rows common to both readers.
std::vector<Field> TopLevelScalars() {
    return {
        {"_id", 7, kOid},
        {"bin", 5, ""},
        {"dbl", 1, "2.5"},
        {"i32", 16, "-7"},
        {"i64", 18, "9007199254740993"},
        {"last", 9, "99991231235959999"},
        {"million", 1, "1e+06"},
        {"no", 8, "0"},
        {"none", 10, ""},
        {"other", 7, kOtherOid},
        {"re", 11, ""},
        {"tenth", 1, "0.1"},
        {"text", 2, "abc"},
        {"third", 1, "0.333333"},
        {"when", 9, "20260101000000123"},
        {"yes", 8, "1"},
    };
}

// What both readers make of "sub": its own name in front, and only the
// immediate parent's name for the element two deep.
std::vector<Field> SubDocumentRows() {
    return {
        {"inner.c", 2, "deep"},  {"sub.b", 8, "0"},
        {"sub.d", 1, "0.1"},     {"sub.l", 18, "-9007199254740993"},
        {"sub.o", 7, kOtherOid}, {"sub.t", 9, "20260101000000123"},
    };
}

std::vector<Field> Sorted(std::vector<Field> rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

using ReaderTest = DbFixture;

TEST_F(ReaderTest, SearchResultsGiveEveryTypeItsText) {
    TESTSUPPORT::ZoneScope zone("UTC0");
    Server().Seed("probe", kEveryType);
    ProbeRecord search;
    const std::vector<DBACCESS::DocumentFields> results = search.SearchAll();
    ASSERT_EQ(results.size(), 1u);

    std::vector<Field> expected = TopLevelScalars();
    for (const Field& row : SubDocumentRows()) expected.push_back(row);
    // Strings of an array by index; its other scalars are dropped, its
    // sub-documents flattened under "name.index".
    for (const Field& row : std::vector<Field>{{"tags.0", 2, "a"},
                                               {"tags.1", 2, "b"},
                                               {"docs.0.definition", 2, "201"},
                                               {"docs.0.rank", 16, "2"},
                                               {"docs.1", 2, "loose"},
                                               {"docs.3.definition", 2, "202"}})
        expected.push_back(row);
    EXPECT_EQ(Fields(results[0]), Sorted(expected));

    // Only the ObjectId named "_id" is the document's id.
    EXPECT_EQ(search.IdKind(), DBACCESS::MongoDBBase::kIdObjectId);
    EXPECT_EQ(search.IdText(), kOid);
    // The record keeps the scalars it met, not what came out of arrays.
    EXPECT_EQ(search.UndeclaredFields().count("sub.d"), 1u);
    EXPECT_EQ(search.UndeclaredFields().count("tags.0"), 0u);
}

TEST_F(ReaderTest, DocumentReadGivesEveryTypeItsText) {
    TESTSUPPORT::ZoneScope zone("UTC0");
    Server().Seed("probe", kEveryType);
    ProbeRecord record;
    ASSERT_EQ(record.ReadAll(), 1);

    std::vector<Field> expected = TopLevelScalars();
    for (const Field& row : SubDocumentRows()) expected.push_back(row);
    // Arrays that the record does not take go on as their compact text.
    expected.emplace_back("tags", 4, R"(["a","b"])");
    expected.emplace_back("nums", 4, "[1,2]");
    expected.emplace_back("docs", 4,
                          R"([{"definition":"201","rank":2},"loose",3,{"definition":"202"}])");
    EXPECT_EQ(Fields(record.UndeclaredFields()), Sorted(expected));
    EXPECT_EQ(record.IdKind(), DBACCESS::MongoDBBase::kIdObjectId);
    EXPECT_EQ(record.IdText(), kOid);
}

}  // namespace

namespace {

TEST_F(ReaderTest, OnlyObjectIdAndStringIdsAreTheDocumentsId) {
    struct Case {
        const char* document;
        std::int32_t readKind, searchKind;
        const char* idText;  // the same for both readers when set
    };
    const Case cases[] = {
        {R"({"_id": {"$oid": "5f1a2b3c4d5e6f7081920a1b"}})", 1, 1, kOid},
        // A search leaves the id alone for a string "_id".
        {R"({"_id": "0101"})", 2, 0, "0101"},
        {R"({"_id": 7})", 0, 0, ""},
        {R"({"_id": {"$numberDouble": "2.5"}})", 0, 0, ""},
        // An ObjectId of another name is a field like any other.
        {R"({"_id": "x", "ref": {"$oid": "0123456789abcdef01234567"}})", 2, 0, "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.document);
        Server().Reset();
        Server().Seed("probe", std::string("[") + c.document + "]");
        ProbeRecord record, search;
        ASSERT_EQ(record.ReadAll(), 1);
        ASSERT_EQ(search.SearchAll().size(), 1u);
        EXPECT_EQ(record.IdKind(), c.readKind);
        EXPECT_EQ(search.IdKind(), c.searchKind);
        EXPECT_EQ(record.IdText(), c.readKind ? c.idText : "");
        EXPECT_EQ(search.IdText(), c.searchKind ? c.idText : "");
        EXPECT_EQ(record.HasId(), c.readKind != 0);
        // Every "_id" reaches SetField as text, whatever its type.
        ASSERT_FALSE(record.fieldCalls.empty());
    }
}

// A document nested depth levels deep: {"n1": {"n2": ... {"leaf": "x"}}}.
std::string Nested(int depth) {
    std::string json = R"({"leaf": "x"})";
    for (int level = depth; level >= 1; --level)
        json = "{\"n" + std::to_string(level) + "\": " + json + "}";
    return json;
}

TEST_F(ReaderTest, NestingDeeperThanTheServersLimitIsRefusedNotRead) {
    Server().Seed("probe", "[" + Nested(100) + "]");
    Server().Seed("deeper", "[" + Nested(101) + "]");
    ProbeRecord record;
    ASSERT_EQ(record.ReadAll(), 1);
    ASSERT_EQ(record.UndeclaredFields().count("n100.leaf"), 1u);
    EXPECT_EQ(record.UndeclaredFields().at("n100.leaf").value.Get(), "x");

    // One level more than MongoDB stores: the reply is refused as a whole
    // and the library raises its own exception.
    ProbeRecord deeper("deeper");
    EXPECT_THROW(deeper.ReadAll(), Poco::IOException);
    EXPECT_FALSE(deeper.IsConnected());
    EXPECT_TRUE(deeper.UndeclaredFields().empty());

    // The connection it failed on is gone; the next read gets a sound one.
    ProbeRecord again;
    EXPECT_EQ(again.ReadAll(), 1);
}

}  // namespace

namespace {

// A sub-document is walked by the sub-document's own rule, not by that of
// the read it sits in: its string "_id" is a field and not the record's id,
// and its arrays stay whole as text even in a search, which flattens arrays
// at the top.
TEST_F(ReaderTest, SubDocumentsFollowTheirOwnRuleNotTheOuterReads) {
    Server().Seed("probe", R"([{
      "_id": {"$oid": "5f1a2b3c4d5e6f7081920a1b"},
      "sub": {"_id": "inner", "list": ["a", {"k": "v"}]}
    }])");
    const std::vector<Field> subFields = {
        {"sub._id", 2, "inner"},
        {"sub.list", 4, R"(["a",{"k":"v"}])"},
    };

    ProbeRecord record;
    ASSERT_EQ(record.ReadAll(), 1);
    EXPECT_EQ(record.IdKind(), DBACCESS::MongoDBBase::kIdObjectId);
    EXPECT_EQ(record.IdText(), kOid);
    std::vector<Field> expected = subFields;
    expected.emplace_back("_id", 7, kOid);
    EXPECT_EQ(Fields(record.UndeclaredFields()), Sorted(expected));

    ProbeRecord search;
    const std::vector<DBACCESS::DocumentFields> results = search.SearchAll();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(Fields(results[0]), Sorted(expected));
    EXPECT_EQ(search.IdText(), kOid);
}

}  // namespace
