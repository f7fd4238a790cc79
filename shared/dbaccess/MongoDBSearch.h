#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Poco/MongoDB/Cursor.h"

#include "dbaccess/DocumentField.h"
#include "dbaccess/MongoDBBase.h"

namespace DBACCESS {

// Hits of a search: the key field's text (surrounding white space removed)
// to the document's requested fields. Every hit is kept; equal keys stay in
// the order the server sent them.
using SearchHits = std::multimap<std::string, DocumentFields>;

// A multi-document query on one collection. Build it on the stack with the
// collection name; it holds a pooled connection only while a search runs.
// Without a connection or without fields to ask for the result is empty.
// What the server refuses (the query or a later batch of it) raises
// DatabaseRefusedException, and a broken exchange (a time-out, a
// connection lost mid-reply, a malformed reply) the DatabaseException of
// its cause: an empty result always means that nothing matched. A cursor
// that sends a document ("_id") it has sent already, as one that never ends
// does, raises MalformedReplyException.
class MongoDBSearch : public MongoDBBase {
public:
    explicit MongoDBSearch(const std::string& collection);
    ~MongoDBSearch() override;

    // Every document of the collection.
    SearchHits Find(const std::string& keyField, const std::set<std::string>& fields);
    // The documents whose matchField equals matchValue (as a string).
    SearchHits FindEqual(const std::string& keyField, const std::string& matchField,
                         const std::string& matchValue, const std::set<std::string>& fields);
    // The documents whose rangeField lies between lower and upper (text
    // order, both inclusive); an empty bound leaves that side open, both
    // empty find nothing. rangeField is also the key field.
    SearchHits FindRange(const std::string& rangeField, const std::string& lower,
                         const std::string& upper, const std::set<std::string>& fields);
    // The same search, each hit handed to visit(key text, fields) as its
    // batch arrives, in the server's order, instead of being kept: for a
    // window of tens of thousands of hits of which the caller keeps little.
    // SortByKey puts what the caller keeps in FindRange's order.
    void FindRangeEach(const std::string& rangeField, const std::string& lower,
                       const std::string& upper, const std::set<std::string>& fields,
                       const std::function<void(const std::string&, DocumentFields&)>& visit);
    // Every value of one field in the collection: out is emptied, then holds
    // one (element name, text) pair per element of each document's
    // projection of field (the field, or "field.x" for a sub-document),
    // documents in reply order; "_id" only when it is the field asked for.
    // Documents without the field add nothing.
    void FindAll(std::multimap<std::string, std::string>& out, const std::string& field);

private:
    // Sends the cursor's query (selector and batch size set) with the
    // projection of fields and keyField, and collects every reply batch.
    SearchHits Run(const std::string& keyField, Poco::MongoDB::Cursor& cursor,
                   const std::set<std::string>& fields);
    // Run, each hit handed to visit instead of kept.
    void RunEach(const std::string& keyField, Poco::MongoDB::Cursor& cursor,
                 const std::set<std::string>& fields,
                 const std::function<void(const std::string&, DocumentFields&)>& visit);
    // Sends the cursor's query over the held connection, as Exchange does,
    // and hands every reply batch, as ParseSearchResults makes it, to take;
    // stops after a batch without documents or the cursor's last one, and
    // raises at a document whose "_id" the cursor sent before.
    void ForEachBatch(Poco::MongoDB::Cursor& cursor,
                      const std::function<void(std::vector<DocumentFields>&)>& take);
};

// What a caller kept of each hit of FindRangeEach, with the hit's key, put in
// the order of FindRange's hits: by key text, equal keys in arrival order.
template <typename Kept>
void SortByKey(std::vector<std::pair<std::string, Kept>>& kept) {
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

}  // namespace DBACCESS
