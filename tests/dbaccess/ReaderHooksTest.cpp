// The document reader's protocol with the record's hooks, on documents
// built in memory.

#include <string>
#include <utility>
#include <vector>

#include <Poco/Exception.h>
#include <Poco/MongoDB/Array.h>
#include <Poco/MongoDB/Document.h>
#include <Poco/MongoDB/ObjectId.h>
#include <gtest/gtest.h>

#include "ProbeRecord.h"
#include "dbaccess/DocumentField.h"

namespace {

using Poco::MongoDB::Array;
using Poco::MongoDB::Document;
using Calls = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> Names(const DBACCESS::DocumentFields& fields) {
    std::vector<std::string> names;
    for (const auto& entry : fields) names.push_back(entry.first);
    return names;
}

Array::Ptr Strings(std::initializer_list<const char*> texts) {
    Array::Ptr array = new Array;
    int i = 0;
    for (const char* text : texts) array->add(std::to_string(i++), std::string(text));
    return array;
}

// {"x": "1", "sub": {"x": "2", "y": "3"}, "tags": ["a", "b"]}
Document::Ptr Sample() {
    Document::Ptr document = new Document;
    document->add("x", std::string("1"));
    document->addNewDocument("sub").add("x", std::string("2")).add("y", std::string("3"));
    document->add("tags", Strings({"a", "b"}));
    return document;
}

TEST(ReaderHooksTest, HooksDecideWhatIsKept) {
    struct Case {
        const char* name;
        std::set<std::string> fields, arrays, documents;
        Calls calls;
        std::vector<std::string> kept;
    };
    const Case cases[] = {
        // Sub-document elements reach SetField under their plain names.
        {"nothing taken",
         {},
         {},
         {},
         {{"x", "1"}, {"x", "2"}, {"y", "3"}, {"tags", R"(["a","b"])"}},
         {"sub.x", "sub.y", "tags", "x"}},
        {"a name taken wherever it occurs",
         {"x"},
         {},
         {},
         {{"x", "1"}, {"x", "2"}, {"y", "3"}, {"tags", R"(["a","b"])"}},
         {"sub.y", "tags"}},
        {"array taken",
         {},
         {"tags"},
         {},
         {{"x", "1"}, {"x", "2"}, {"y", "3"}},
         {"sub.x", "sub.y", "x"}},
        {"sub-document taken",
         {},
         {},
         {"sub"},
         {{"x", "1"}, {"tags", R"(["a","b"])"}},
         {"tags", "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeRecord record;
        record.takenFields = c.fields;
        record.takenArrays = c.arrays;
        record.takenDocuments = c.documents;
        record.ParseDocuments({Sample()});
        EXPECT_EQ(record.fieldCalls, c.calls);
        EXPECT_EQ(Names(record.UndeclaredFields()), c.kept);
        EXPECT_EQ(record.arrayCalls, std::vector<std::string>{"tags"});
        EXPECT_EQ(record.documentCalls, std::vector<std::string>{"sub"});
    }
}

TEST(ReaderHooksTest, KeptNamesCarryOnlyTheImmediateParent) {
    // {"a": {"b": {"c": "deep"}, "d": "near"}}
    Document::Ptr document = new Document;
    Document& a = document->addNewDocument("a");
    a.addNewDocument("b").add("c", std::string("deep"));
    a.add("d", std::string("near"));

    ProbeRecord search;
    const auto results = search.ParseSearchResults({document});
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(Names(results[0]), (std::vector<std::string>{"a.d", "b.c"}));

    ProbeRecord loaded;
    loaded.LoadDocument(document->get<Document::Ptr>("a"));
    EXPECT_EQ(Names(loaded.UndeclaredFields()), (std::vector<std::string>{"b.c", "d"}));

    // With a prefix the kept names are returned as well as kept.
    ProbeRecord prefixed;
    const DBACCESS::DocumentFields returned =
        prefixed.ParseSubDocument(document->get<Document::Ptr>("a"), "room");
    EXPECT_EQ(Names(returned), (std::vector<std::string>{"b.c", "room.d"}));
    EXPECT_EQ(Names(prefixed.UndeclaredFields()), Names(returned));
}

TEST(ReaderHooksTest, SeveralDocumentsLoadIntoOneRecord) {
    Document::Ptr first = new Document, second = new Document;
    first->add("x", std::string("1")).add("_id", std::string("one"));
    second->add("x", std::string("2")).add("_id", std::string("two"));
    ProbeRecord record;
    record.ParseDocuments({first, second});
    // Declared fields would end with the last values, kept ones with the first.
    EXPECT_EQ(record.fieldCalls, (Calls{{"x", "1"}, {"_id", "one"}, {"x", "2"}, {"_id", "two"}}));
    EXPECT_EQ(record.UndeclaredFields().at("x").value.Get(), "1");
    EXPECT_EQ(record.IdText(), "two");

    ProbeRecord untouched;
    untouched.ParseDocuments({});
    EXPECT_TRUE(untouched.fieldCalls.empty());
    EXPECT_FALSE(untouched.HasId());
}

TEST(ReaderHooksTest, DuplicateNamesAreReadOnceWithTheirFirstElement) {
    Document::Ptr document = new Document;
    document->add("x", std::string("first")).add("x", std::string("second"));
    document->add("tags", Strings({"a"})).add("tags", Strings({"b"}));
    document->addNewDocument("sub").add("y", std::string("1"));
    document->addNewDocument("sub").add("y", std::string("2"));

    ProbeRecord record;
    record.ParseDocuments({document});
    EXPECT_EQ(record.fieldCalls, (Calls{{"x", "first"}, {"tags", R"(["a"])"}, {"y", "1"}}));
    EXPECT_EQ(record.arrayCalls, std::vector<std::string>{"tags"});
    EXPECT_EQ(record.documentCalls, std::vector<std::string>{"sub"});

    ProbeRecord search;
    const auto results = search.ParseSearchResults({document});
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].at("x").value.Get(), "first");
    EXPECT_EQ(results[0].at("tags.0").value.Get(), "a");
    EXPECT_EQ(results[0].count("tags.1"), 0u);
    EXPECT_EQ(results[0].at("sub.y").value.Get(), "1");
}

TEST(ReaderHooksTest, ArraysInSearchResultsKeepOnlyStringsAndSubDocuments) {
    Array::Ptr mixed = new Array;
    mixed->add("0", 5);
    mixed->add("1", std::string("s"));
    mixed->add("2", Strings({"nested"}));
    Document::Ptr inner = new Document;
    inner->add("definition", std::string("201"));
    inner->add("ids", Strings({"p", "q"}));
    mixed->add("3", inner);
    // A key that is not the element's index is not looked at.
    mixed->add("x", std::string("stray"));
    Document::Ptr document = new Document;
    document->add("mixed", mixed);

    ProbeRecord search;
    const auto results = search.ParseSearchResults({document});
    ASSERT_EQ(results.size(), 1u);
    // A sub-document of an array keeps its arrays as text, as any
    // sub-document does.
    EXPECT_EQ(Names(results[0]),
              (std::vector<std::string>{"mixed.1", "mixed.3.definition", "mixed.3.ids"}));
    EXPECT_EQ(results[0].at("mixed.3.ids").type, 4);
    EXPECT_EQ(results[0].at("mixed.1").type, 2);
}

TEST(ReaderHooksTest, NullDocumentRaisesTheLibrarysException) {
    ProbeRecord record;
    EXPECT_THROW(record.ParseDocuments({Document::Ptr()}), Poco::NullPointerException);
    EXPECT_THROW(record.ParseSearchResults({Document::Ptr()}), Poco::NullPointerException);
}

}  // namespace
