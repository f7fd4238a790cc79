#include "dbaccess/MongoDBSearch.h"

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "Poco/MongoDB/ResponseMessage.h"
#include "Poco/String.h"
#include "Poco/Types.h"

#include "dbaccess/DatabaseException.h"
#include "dbaccess/DatabaseName.h"
#include "dbaccess/NextBatch.h"

namespace DBACCESS {

namespace {

const char* const kIdName = "_id";

// Batch size of FindEqual; the other searches keep the library's default.
const int kEqualBatchSize = 15000;

// A visit of RunEach that keeps every hit in hits.
std::function<void(const std::string&, DocumentFields&)> KeepIn(SearchHits& hits) {
    return [&hits](const std::string& key, DocumentFields& document) {
        hits.emplace(key, std::move(document));
    };
}

}  // namespace

MongoDBSearch::MongoDBSearch(const std::string& collection) : MongoDBBase(collection) {}

MongoDBSearch::~MongoDBSearch() = default;

SearchHits MongoDBSearch::Find(const std::string& keyField, const std::set<std::string>& fields) {
    Poco::MongoDB::Cursor cursor(DatabaseName, Collection());
    cursor.query().selector().addNewDocument("$query");
    return Run(keyField, cursor, fields);
}

SearchHits MongoDBSearch::FindEqual(const std::string& keyField, const std::string& matchField,
                                    const std::string& matchValue,
                                    const std::set<std::string>& fields) {
    Poco::MongoDB::Cursor cursor(DatabaseName, Collection());
    cursor.query().selector().add(matchField, matchValue);
    cursor.query().setNumberToReturn(kEqualBatchSize);
    return Run(keyField, cursor, fields);
}

SearchHits MongoDBSearch::FindRange(const std::string& rangeField, const std::string& lower,
                                    const std::string& upper, const std::set<std::string>& fields) {
    SearchHits hits;
    FindRangeEach(rangeField, lower, upper, fields, KeepIn(hits));
    return hits;
}

void MongoDBSearch::FindRangeEach(
    const std::string& rangeField, const std::string& lower, const std::string& upper,
    const std::set<std::string>& fields,
    const std::function<void(const std::string&, DocumentFields&)>& visit) {
    if (fields.empty() || !Connect()) return;
    if (lower.empty() && upper.empty()) {
        Disconnect();
        return;
    }
    Poco::MongoDB::Cursor cursor(DatabaseName, Collection());
    Poco::MongoDB::Document& range = cursor.query().selector().addNewDocument(rangeField);
    if (!lower.empty()) range.add("$gte", lower);
    if (!upper.empty()) range.add("$lte", upper);
    RunEach(rangeField, cursor, fields, visit);
}

SearchHits MongoDBSearch::Run(const std::string& keyField, Poco::MongoDB::Cursor& cursor,
                              const std::set<std::string>& fields) {
    SearchHits hits;
    RunEach(keyField, cursor, fields, KeepIn(hits));
    return hits;
}

void MongoDBSearch::RunEach(const std::string& keyField, Poco::MongoDB::Cursor& cursor,
                            const std::set<std::string>& fields,
                            const std::function<void(const std::string&, DocumentFields&)>& visit) {
    if (fields.empty() || !Connect()) return;
    const bool keepId = fields.count(kIdName) != 0;

    Poco::MongoDB::Document& projection = cursor.query().returnFieldSelector();
    for (const std::string& field : fields) projection.add(field, static_cast<Poco::Int32>(1));
    if (fields.count(keyField) == 0) projection.add(keyField, static_cast<Poco::Int32>(1));

    ForEachBatch(cursor, [&](std::vector<DocumentFields>& batch) {
        for (DocumentFields& document : batch) {
            // The server sends "_id" unless told otherwise.
            if (!keepId) document.erase(kIdName);
            const auto key = document.find(keyField);
            if (key == document.end()) continue;
            visit(Poco::trim(key->second.value.value), document);
        }
    });
}

void MongoDBSearch::FindAll(std::multimap<std::string, std::string>& out,
                            const std::string& field) {
    out.clear();
    if (!Connect()) return;
    Poco::MongoDB::Cursor cursor(DatabaseName, Collection());
    cursor.query().returnFieldSelector().add(field, static_cast<Poco::Int32>(1));

    // Only the field itself (flattened when it holds a sub-document), not
    // the "_id" the server adds.
    const std::string nested = field + ".";
    ForEachBatch(cursor, [&](std::vector<DocumentFields>& batch) {
        for (const DocumentFields& document : batch) {
            for (const auto& element : document) {
                const std::string& name = element.first;
                if (name == field || name.compare(0, nested.size(), nested) == 0)
                    out.emplace(element.first, element.second.value.value);
            }
        }
    });
}

void MongoDBSearch::ForEachBatch(Poco::MongoDB::Cursor& cursor,
                                 const std::function<void(std::vector<DocumentFields>&)>& take) {
    Exchange([&](GuardedConnection& connection) {
        // The "_id"s the cursor sent, by type and text: a server sends each
        // document of a search once, so one sent again is a cursor that
        // would go round for ever.
        std::unordered_set<std::string> sent;
        for (;;) {
            Poco::MongoDB::ResponseMessage& reply = NextBatch(cursor, connection);
            std::vector<DocumentFields> batch = ParseSearchResults(reply.documents());
            if (batch.empty()) break;
            for (const DocumentFields& document : batch) {
                const auto id = document.find(kIdName);
                if (id == document.end()) continue;
                const std::string& text = id->second.value.value;
                if (!sent.insert(static_cast<char>(id->second.type) + text).second)
                    throw MalformedReplyException(
                        cursor.query().fullCollectionName(),
                        "the cursor sent the document with \"_id\" " + text + " a second time");
            }
            take(batch);
            if (reply.cursorID() == 0) break;
        }
    });
}

}  // namespace DBACCESS
