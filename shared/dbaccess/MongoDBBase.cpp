#include "dbaccess/MongoDBBase.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "Poco/MongoDB/Cursor.h"
#include "Poco/MongoDB/ObjectId.h"
#include "Poco/NumberFormatter.h"
#include "Poco/Types.h"

#include "dbaccess/DatabaseName.h"
#include "dbaccess/ElementText.h"
#include "dbaccess/NextBatch.h"

namespace DBACCESS {

namespace {

constexpr std::string_view kIdName = "_id";

const int kDocumentType = Poco::MongoDB::ElementTraits<Poco::MongoDB::Document::Ptr>::TypeId;
const int kArrayType = Poco::MongoDB::ElementTraits<Poco::MongoDB::Array::Ptr>::TypeId;
const int kStringType = Poco::MongoDB::ElementTraits<std::string>::TypeId;
const int kObjectIdType = Poco::MongoDB::ElementTraits<Poco::MongoDB::ObjectId::Ptr>::TypeId;

// Calls visit(name, element) for each element of document in order, through
// the library's public interface: the names in order, each element by its
// name. A name that occurs twice is visited once, with its first element:
// the one the lookup by name gives, and a record's hooks never see one name
// twice (an address list loaded twice, a field set and reset). The lookup
// is a linear search, so the walk grows with the square of the element
// count: nothing for a record's few dozen, seconds for tens of thousands.
template <typename Visit>
void ForEachElement(const Poco::MongoDB::Document::Ptr& document, Visit visit) {
    std::vector<std::string> names;
    names.reserve(document->size());  // elementNames appends one by one
    document->elementNames(names);
    for (auto name = names.begin(); name != names.end(); ++name) {
        if (std::find(names.begin(), name, *name) != name) continue;
        visit(*name, *document->get(*name));
    }
}

template <typename T>
T ValueOf(const Poco::MongoDB::Element& element) {
    const auto* concrete = dynamic_cast<const Poco::MongoDB::ConcreteElement<T>*>(&element);
    return concrete ? concrete->value() : T();
}

// The compact text of an array that no hook took.
std::string ArrayText(const Poco::MongoDB::Array::Ptr& array) {
    return array.isNull() ? std::string() : array->toString(0);
}

void Merge(DocumentFields& into, const DocumentFields& from) {
    for (const auto& entry : from) into.emplace(entry.first, entry.second);
}

}  // namespace

// A record's own read keeps arrays as text and takes a string "_id" as its
// id; a search flattens arrays into its results; a sub-document, as read
// by a record's hook or inside either, keeps arrays as text.
const MongoDBBase::WalkPolicy MongoDBBase::kRecordRead = {false, true};
const MongoDBBase::WalkPolicy MongoDBBase::kSearchResult = {true, false};
const MongoDBBase::WalkPolicy MongoDBBase::kSubDocumentRead = {false, false};

MongoDBBase::MongoDBBase() : idKind_(kIdNone) {}

MongoDBBase::MongoDBBase(const std::string& collection)
    : collection_(collection), idKind_(kIdNone) {}

MongoDBBase::MongoDBBase(const MongoDBBase& other)
    : collection_(other.collection_),
      idKind_(other.idKind_),
      idText_(other.idText_),
      undeclared_(other.undeclared_) {}

MongoDBBase::MongoDBBase(MongoDBBase&& other)
    : collection_(std::move(other.collection_)),
      idKind_(other.idKind_),
      idText_(std::move(other.idText_)),
      undeclared_(std::move(other.undeclared_)) {}

MongoDBBase& MongoDBBase::operator=(const MongoDBBase& other) {
    if (this != &other) {
        collection_ = other.collection_;
        lastError_.clear();
        idKind_ = other.idKind_;
        idText_ = other.idText_;
        undeclared_ = other.undeclared_;
    }
    return *this;
}

MongoDBBase::~MongoDBBase() { Disconnect(); }

void MongoDBBase::Clear() {
    lastError_.clear();
    idText_.clear();
    idKind_ = kIdNone;
    undeclared_.clear();
}

bool MongoDBBase::HasId() const { return !idText_.empty(); }

bool MongoDBBase::OnArray(const std::string& /*name*/, Poco::MongoDB::Array::Ptr /*array*/) {
    return true;
}

bool MongoDBBase::OnDocument(const std::string& /*name*/,
                             Poco::MongoDB::Document::Ptr /*document*/) {
    return true;
}

bool MongoDBBase::SetField(const std::string& /*name*/, const std::string& /*text*/) {
    return true;
}

bool MongoDBBase::Connect() {
    if (!connection_.isNull()) return true;
    connection_ = access_.GetConnection();
    return !connection_.isNull();
}

void MongoDBBase::Disconnect() {
    GuardedConnection::Ptr connection = connection_;
    connection_ = nullptr;
    access_.ReleaseConnection(connection);
}

void MongoDBBase::DropConnection() {
    GuardedConnection::Ptr connection = connection_;
    connection_ = nullptr;
    access_.DiscardConnection(connection);
}

bool MongoDBBase::IsConnected() const { return !connection_.isNull(); }

void MongoDBBase::ParseDocuments(const std::vector<Poco::MongoDB::Document::Ptr>& documents) {
    for (const Poco::MongoDB::Document::Ptr& document : documents)
        WalkDocument(document, std::string(), kRecordRead);
}

std::vector<DocumentFields> MongoDBBase::ParseSearchResults(
    const std::vector<Poco::MongoDB::Document::Ptr>& documents) {
    std::vector<DocumentFields> results;
    results.reserve(documents.size());
    for (const Poco::MongoDB::Document::Ptr& document : documents)
        results.push_back(WalkDocument(document, std::string(), kSearchResult));
    return results;
}

DocumentFields MongoDBBase::ParseSubDocument(Poco::MongoDB::Document::Ptr document,
                                             const std::string& prefix) {
    return WalkDocument(document, prefix, kSubDocumentRead);
}

DocumentFields MongoDBBase::WalkDocument(const Poco::MongoDB::Document::Ptr& document,
                                         const std::string& prefix, const WalkPolicy& policy) {
    DocumentFields fields;
    ForEachElement(document, [this, &fields, &prefix, &policy](
                                 const std::string& name, const Poco::MongoDB::Element& element) {
        const int type = element.type();
        std::string text;
        if (type == kDocumentType) {
            // The nested walk names its elements after this one only.
            const Poco::MongoDB::Document::Ptr sub = ValueOf<Poco::MongoDB::Document::Ptr>(element);
            if (OnDocument(name, sub) && !sub.isNull())
                Merge(fields, WalkDocument(sub, name, kSubDocumentRead));
            return;
        }
        if (type == kArrayType) {
            const Poco::MongoDB::Array::Ptr array = ValueOf<Poco::MongoDB::Array::Ptr>(element);
            if (!OnArray(name, array)) return;
            if (policy.flattenArrays) {
                if (!array.isNull()) Merge(fields, ParseArray(array, name));
                return;
            }
            text = ArrayText(array);
        } else {
            text = ElementText(element);
            if (name == kIdName &&
                (type == kObjectIdType || (policy.stringIds && type == kStringType))) {
                idKind_ = type == kObjectIdType ? kIdObjectId : kIdString;
                idText_ = text;
            }
        }
        if (SetField(name, text)) {
            const std::string fullName = prefix.empty() ? name : prefix + "." + name;
            KeepField(fields, DocumentField(type, fullName, text));
        }
    });
    return fields;
}

DocumentFields MongoDBBase::ParseArray(Poco::MongoDB::Array::Ptr array, const std::string& prefix) {
    DocumentFields fields;
    const int size = static_cast<int>(array->size());
    for (int i = 0; i < size; ++i) {
        const Poco::MongoDB::Element::Ptr element = array->get(i);
        if (element.isNull()) continue;
        const std::string name = prefix + "." + Poco::NumberFormatter::format(i);
        if (element->type() == kDocumentType) {
            const Poco::MongoDB::Document::Ptr sub =
                ValueOf<Poco::MongoDB::Document::Ptr>(*element);
            if (!sub.isNull()) Merge(fields, ParseSubDocument(sub, name));
        } else if (element->type() == kStringType) {
            fields.emplace(name, DocumentField(kStringType, name, ElementText(*element)));
        }
    }
    return fields;
}

void MongoDBBase::LoadDocument(Poco::MongoDB::Document::Ptr document) {
    ParseSubDocument(document, std::string());
}

const std::string& MongoDBBase::Collection() const { return collection_; }

const std::string& MongoDBBase::LastError() const { return lastError_; }

std::int32_t MongoDBBase::IdKind() const { return idKind_; }

const std::string& MongoDBBase::IdText() const { return idText_; }

const DocumentFields& MongoDBBase::UndeclaredFields() const { return undeclared_; }

const MongoDBAccess& MongoDBBase::Access() const { return access_; }

std::string& MongoDBBase::MutableLastError() { return lastError_; }

void MongoDBBase::ClearUndeclaredFields() { undeclared_.clear(); }

template <typename Value>
bool MongoDBBase::ReadOne(const std::string& field, const Value& value,
                          const std::function<void()>& beforeLoad) {
    return Exchange([&](GuardedConnection& connection) {
        Poco::MongoDB::Cursor cursor(DatabaseName, Collection());
        cursor.query().selector().add(field, value);
        cursor.query().setNumberToReturn(1);
        const auto& documents = NextBatch(cursor, connection).documents();
        if (beforeLoad) beforeLoad();
        ParseDocuments(documents);
        return !documents.empty();
    });
}

template bool MongoDBBase::ReadOne(const std::string&, const std::string&,
                                   const std::function<void()>&);
template bool MongoDBBase::ReadOne(const std::string&, const Poco::Int32&,
                                   const std::function<void()>&);
template bool MongoDBBase::ReadOne(const std::string&, const Poco::MongoDB::ObjectId::Ptr&,
                                   const std::function<void()>&);

void MongoDBBase::KeepField(DocumentFields& into, DocumentField&& field) {
    // try_emplace copies the field only where the name is new; a search
    // meets every name again in each of its documents. The walk's own map
    // takes the field itself, last.
    const std::string name = field.value.name;
    undeclared_.try_emplace(name, field);
    into.try_emplace(name, std::move(field));
}

}  // namespace DBACCESS
