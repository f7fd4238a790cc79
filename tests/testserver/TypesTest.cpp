#include <Poco/MongoDB/Array.h>
#include <Poco/MongoDB/Binary.h>
#include <Poco/MongoDB/Database.h>
#include <Poco/MongoDB/InsertRequest.h>
#include <Poco/MongoDB/ObjectId.h>

#include "ServerFixture.h"

using Poco::MongoDB::Array;
using Poco::MongoDB::Binary;
using Poco::MongoDB::Document;
using Poco::MongoDB::NullValue;
using Poco::MongoDB::ObjectId;

namespace {

// One element of every type the records meet, in canonical form. The date
// has whole seconds: the driver reads dates at second precision.
const char* const kAllTypes =
    R"({"_id": {"$oid": "5f1a2b3c4d5e6f7081920a1b"}, "i32": 7, "i64": {"$numberLong": "7"}, )"
    R"("big": {"$numberLong": "9007199254740993"}, "dbl": {"$numberDouble": "0.1"}, )"
    R"("whole": {"$numberDouble": "2.0"}, "yes": true, )"
    R"("when": {"$date": {"$numberLong": "1767225600000"}}, "none": null, )"
    R"("bin": {"$binary": {"base64": "AAEC", "subType": "00"}}, "sub": {"b": {"c": "deep"}}, )"
    R"("tags": ["a", 1, {"x": 2}], "text": "café \"q\""})";

using TypesTest = ServerFixture;

TEST_F(TypesTest, SeedAndDocumentsKeepTypesAndOrder) {
    Server().Seed("mixed", std::string("[") + kAllTypes + "]");
    EXPECT_EQ(Server().Documents("mixed"), std::string("[") + kAllTypes + "]");
    // Relaxed input forms land as the same types: small whole numbers are
    // int32, larger ones int64, numbers with a point doubles.
    Server().Seed("relaxed", R"([{"_id": 1, "a": 5, "b": 4294967296, "c": 5.0, "d": 1e300}])");
    EXPECT_EQ(Server().Documents("relaxed"),
              R"([{"_id": 1, "a": 5, "b": {"$numberLong": "4294967296"}, )"
              R"("c": {"$numberDouble": "5.0"}, "d": {"$numberDouble": "1e+300"}}])");
    // Milliseconds of a date survive in the store.
    Server().Seed("dates", R"([{"_id": 1, "at": {"$date": {"$numberLong": "1767225600123"}}}])");
    EXPECT_EQ(Server().Documents("dates"),
              R"([{"_id": 1, "at": {"$date": {"$numberLong": "1767225600123"}}}])");
}

TEST_F(TypesTest, DriverReadsEachSeededType) {
    Server().Seed("mixed", std::string("[") + kAllTypes + "]");
    Poco::MongoDB::Connection::Ptr connection = Connect();
    Poco::MongoDB::QueryRequest request("kelden.mixed");
    Poco::MongoDB::ResponseMessage response;
    connection->sendRequest(request, response);
    ASSERT_EQ(response.documents().size(), 1u);
    const Document& d = *response.documents()[0];

    std::vector<std::string> names;
    d.elementNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"_id", "i32", "i64", "big", "dbl", "whole", "yes",
                                               "when", "none", "bin", "sub", "tags", "text"}));
    EXPECT_EQ(d.get<ObjectId::Ptr>("_id")->toString(), "5f1a2b3c4d5e6f7081920a1b");
    EXPECT_EQ(d.get<Poco::Int32>("i32"), 7);
    EXPECT_EQ(d.get<Poco::Int64>("i64"), 7);
    EXPECT_EQ(d.get<Poco::Int64>("big"), 9007199254740993LL);
    EXPECT_EQ(d.get<double>("dbl"), 0.1);
    EXPECT_EQ(d.get<double>("whole"), 2.0);
    EXPECT_TRUE(d.get<bool>("yes"));
    EXPECT_EQ(d.get<Poco::Timestamp>("when").epochTime(), 1767225600);
    EXPECT_TRUE(d.isType<NullValue>("none"));
    EXPECT_EQ(d.get<Binary::Ptr>("bin")->buffer().size(), 3u);
    EXPECT_EQ(d.get<Document::Ptr>("sub")->get<Document::Ptr>("b")->get<std::string>("c"), "deep");
    Array::Ptr tags = d.get<Array::Ptr>("tags");
    ASSERT_EQ(tags->size(), 3u);
    EXPECT_EQ(tags->get<std::string>(0), "a");
    EXPECT_EQ(tags->get<Poco::Int32>(1), 1);
    EXPECT_EQ(tags->get<Document::Ptr>(2)->get<Poco::Int32>("x"), 2);
    EXPECT_EQ(d.get<std::string>("text"), "café \"q\"");
}

TEST_F(TypesTest, DriverInsertStoresEachTypeAsSent) {
    Poco::MongoDB::InsertRequest insert("kelden.mixed");
    Document& d = insert.addNewDocument();
    d.add("_id", ObjectId::Ptr(new ObjectId("5f1a2b3c4d5e6f7081920a1b")))
        .add("i32", 7)
        .add("i64", static_cast<Poco::Int64>(7))
        .add("big", static_cast<Poco::Int64>(9007199254740993LL))
        .add("dbl", 0.1)
        .add("whole", 2.0)
        .add("yes", true)
        .add("when", Poco::Timestamp::fromEpochTime(1767225600))
        .add("none", NullValue(0));
    Binary::Ptr bin = new Binary(3, 0);
    bin->buffer()[0] = 0;
    bin->buffer()[1] = 1;
    bin->buffer()[2] = 2;
    d.add("bin", bin);
    d.addNewDocument("sub").addNewDocument("b").add("c", std::string("deep"));
    Array::Ptr tags = new Array();
    tags->add(std::string("0"), std::string("a"));
    tags->add(std::string("1"), 1);
    Document::Ptr x = new Document();
    x->add("x", 2);
    tags->add(std::string("2"), x);
    d.add("tags", tags);
    d.add("text", std::string("café \"q\""));
    Poco::MongoDB::Connection::Ptr connection = Connect();
    connection->sendRequest(insert);
    // The insert has no reply; the answer to getLastError comes after it.
    EXPECT_EQ(Poco::MongoDB::Database("kelden").getLastError(*connection), "");
    EXPECT_EQ(Server().Documents("mixed"), std::string("[") + kAllTypes + "]");
}

}  // namespace
