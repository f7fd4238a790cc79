#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Poco/Exception.h"
#include "Poco/MongoDB/Array.h"
#include "Poco/MongoDB/Document.h"

#include "dbaccess/DocumentField.h"
#include "dbaccess/GuardedConnection.h"
#include "dbaccess/MongoDBAccess.h"

namespace DBACCESS {

// Base of every database record: its collection, its "_id", the elements it
// does not declare, and the reader that walks documents into it.
//
// The reader turns each scalar element into text and hands it to SetField;
// sub-documents go to OnDocument and arrays to OnArray first. Each hook
// returns false when the record took the element and true when the reader
// is to go on with it (keep it in UndeclaredFields(), flatten it, ...).
//
// A record borrows a pooled connection with Connect() and gives it back as
// soon as its read, search or write is done (Exchange() does both ends), so
// that the thousands of records a report keeps hold no connection.
class MongoDBBase {
public:
    // Values of IdKind().
    static constexpr std::int32_t kIdNone = 0;
    static constexpr std::int32_t kIdObjectId = 1;  // "_id" came as an ObjectId
    static constexpr std::int32_t kIdString = 2;    // "_id" came as a string

    MongoDBBase();
    explicit MongoDBBase(const std::string& collection);
    // Copies the collection, the id and the undeclared fields; the copy has
    // no connection and empty error texts.
    MongoDBBase(const MongoDBBase& other);
    // As the copy constructor, taking the texts and the undeclared fields
    // instead of copying them.
    MongoDBBase(MongoDBBase&& other);
    // As the copy constructor; this record keeps its own access object and
    // connection.
    MongoDBBase& operator=(const MongoDBBase& other);
    // Gives a connection still held back to the pool.
    virtual ~MongoDBBase();

    // Empties the last error, the id and the undeclared fields.
    virtual void Clear();
    // True when the id text is not empty.
    virtual bool HasId() const;
    // Base: takes nothing (returns true).
    virtual bool OnArray(const std::string& name, Poco::MongoDB::Array::Ptr array);
    virtual bool OnDocument(const std::string& name, Poco::MongoDB::Document::Ptr document);
    virtual bool SetField(const std::string& name, const std::string& text);

    // True when a connection is held or could be borrowed now. A failure
    // leaves none; the next Connect tries again. The failure's text is in
    // Access().LastError().
    bool Connect();
    // Gives the held connection back to the pool; no connection: nothing.
    void Disconnect();
    // True while a connection is held.
    bool IsConnected() const;

    // Loads every element of every document into this record, in order.
    // With several documents, declared fields end with the last one's
    // values and UndeclaredFields() with the first value of each name.
    void ParseDocuments(const std::vector<Poco::MongoDB::Document::Ptr>& documents);
    // One map per document of the elements the hooks did not take,
    // sub-documents and arrays flattened into dotted names ("room.roomid",
    // "tags.0", "extension.0.definition").
    std::vector<DocumentFields> ParseSearchResults(
        const std::vector<Poco::MongoDB::Document::Ptr>& documents);
    // Loads a sub-document; the elements not taken are returned and kept,
    // named prefix + "." + name (the plain name with an empty prefix). A
    // nested sub-document's elements carry only its own name in front.
    DocumentFields ParseSubDocument(Poco::MongoDB::Document::Ptr document,
                                    const std::string& prefix);
    // The array's sub-documents (flattened) and strings, named prefix + "."
    // + index; other elements are skipped. Only the result holds them.
    DocumentFields ParseArray(Poco::MongoDB::Array::Ptr array, const std::string& prefix);
    // ParseSubDocument with an empty prefix, the result dropped.
    void LoadDocument(Poco::MongoDB::Document::Ptr document);

    const std::string& Collection() const;
    // The record's own error text, for derived reads; Clear empties it.
    const std::string& LastError() const;
    std::int32_t IdKind() const;
    // ObjectId "_id" as 24 lowercase hexadecimal digits, or the string "_id".
    const std::string& IdText() const;
    const DocumentFields& UndeclaredFields() const;
    // The connection layer's last error (a failed Connect).
    const MongoDBAccess& Access() const;

protected:
    std::string& MutableLastError();
    void ClearUndeclaredFields();

    // Runs work(connection) over the held connection (borrowed now when
    // none is held; Poco::IllegalStateException when none can be had: call
    // Connect first for the record's own "no connection" result) and gives
    // the connection back to the pool when work returns. When work throws,
    // the connection is discarded instead (MongoDBAccess::
    // DiscardConnection) and the exception passes on. Code that catches a
    // library exception inside work calls DropConnection itself.
    template <typename Work>
    auto Exchange(Work&& work) -> decltype(work(std::declval<GuardedConnection&>())) {
        if (connection_.isNull() && !Connect())
            throw Poco::IllegalStateException("no database connection");
        const ExchangeEnd end(*this);
        return work(*connection_);
    }

    // Closes and forgets the held connection after the library failed on it.
    void DropConnection();

    // Reads the one document of the collection whose field equals value
    // (value: a std::string, Poco::Int32 or Poco::MongoDB::ObjectId::Ptr):
    // asks for one document over the held connection, as Exchange does,
    // calls beforeLoad when the reply has come and loads the reply with
    // ParseDocuments. True when the reply held a document. A refusal or a
    // broken exchange raises, as NextBatch.
    template <typename Value>
    bool ReadOne(const std::string& field, const Value& value,
                 const std::function<void()>& beforeLoad = std::function<void()>());

private:
    // What the walk of one document does where the reads differ.
    struct WalkPolicy {
        // An array no hook took: its sub-documents and strings by index
        // (ParseArray), or else its compact text given to SetField.
        bool flattenArrays;
        // A string "_id" is the document's id, as an ObjectId one always is.
        bool stringIds;
    };
    static const WalkPolicy kRecordRead;
    static const WalkPolicy kSearchResult;
    static const WalkPolicy kSubDocumentRead;

    // Walks document: sub-documents and arrays to the hooks first (a
    // sub-document not taken is walked as by ParseSubDocument, named after
    // itself), every other element as text to SetField, and what is not
    // taken is returned and kept, named prefix + "." + name (the plain
    // name with an empty prefix).
    DocumentFields WalkDocument(const Poco::MongoDB::Document::Ptr& document,
                                const std::string& prefix, const WalkPolicy& policy);

    class ExchangeEnd {
    public:
        explicit ExchangeEnd(MongoDBBase& record)
            : record_(record), exceptions_(std::uncaught_exceptions()) {}
        ~ExchangeEnd() {
            if (std::uncaught_exceptions() > exceptions_)
                record_.DropConnection();
            else
                record_.Disconnect();
        }
        ExchangeEnd(const ExchangeEnd&) = delete;
        ExchangeEnd& operator=(const ExchangeEnd&) = delete;

    private:
        MongoDBBase& record_;
        int exceptions_;
    };

    void KeepField(DocumentFields& into, DocumentField&& field);

    MongoDBAccess access_;
    std::string collection_;
    std::string lastError_;
    GuardedConnection::Ptr connection_;
    std::int32_t idKind_;
    std::string idText_;
    DocumentFields undeclared_;
};

}  // namespace DBACCESS
