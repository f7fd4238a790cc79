// A record for the tests: it notes every hook call, takes the names it is
// told to take, and reads a whole collection the way the product's records
// read theirs (Connect, then one exchange over the pooled connection).

#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <Poco/MongoDB/Cursor.h>
#include <Poco/MongoDB/ResponseMessage.h>

#include "dbaccess/DatabaseName.h"
#include "dbaccess/MongoDBBase.h"
#include "dbaccess/NextBatch.h"

class ProbeRecord : public DBACCESS::MongoDBBase {
public:
    explicit ProbeRecord(const std::string& collection = "probe") : MongoDBBase(collection) {}

    bool SetField(const std::string& name, const std::string& text) override {
        fieldCalls.emplace_back(name, text);
        return takenFields.count(name) == 0;
    }
    bool OnArray(const std::string& name, Poco::MongoDB::Array::Ptr array) override {
        arrayCalls.push_back(name);
        return MongoDBBase::OnArray(name, array) && takenArrays.count(name) == 0;
    }
    bool OnDocument(const std::string& name, Poco::MongoDB::Document::Ptr document) override {
        documentCalls.push_back(name);
        return MongoDBBase::OnDocument(name, document) && takenDocuments.count(name) == 0;
    }

    // Every document of the collection (first reply batch) into this record
    // with ParseDocuments; the number of documents, -1 without a connection.
    int ReadAll() {
        if (!Connect()) return -1;
        return Exchange([this](DBACCESS::GuardedConnection& connection) {
            Poco::MongoDB::Cursor cursor(DBACCESS::DatabaseName, Collection());
            const auto& documents = DBACCESS::NextBatch(cursor, connection).documents();
            ParseDocuments(documents);
            return static_cast<int>(documents.size());
        });
    }

    // The first reply batch of the collection through ParseSearchResults.
    std::vector<DBACCESS::DocumentFields> SearchAll() {
        if (!Connect()) return {};
        return Exchange([this](DBACCESS::GuardedConnection& connection) {
            Poco::MongoDB::Cursor cursor(DBACCESS::DatabaseName, Collection());
            return ParseSearchResults(DBACCESS::NextBatch(cursor, connection).documents());
        });
    }

    std::set<std::string> takenFields, takenArrays, takenDocuments;
    std::vector<std::pair<std::string, std::string>> fieldCalls;
    std::vector<std::string> arrayCalls, documentCalls;
};
