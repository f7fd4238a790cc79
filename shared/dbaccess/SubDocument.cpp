#include "dbaccess/SubDocument.h"

#include "Poco/MongoDB/ObjectId.h"
#include "Poco/NumberParser.h"
#include "Poco/Types.h"

#include "dbaccess/ObjectIdText.h"

namespace DBACCESS {

namespace {

// The kept types that DocumentField::ToElement gives no element for but
// that have a sound BSON form, so that a sub-document written back keeps
// its ids and its large numbers. Null for any other field, and for a text
// that is no such value.
Poco::MongoDB::Element::Ptr ConvertedElement(const DocumentField& field) {
    const std::string& name = field.value.name;
    const std::string text = field.value.Get();
    if (field.type == Poco::MongoDB::ElementTraits<Poco::MongoDB::ObjectId::Ptr>::TypeId) {
        const Poco::MongoDB::ObjectId::Ptr id = MakeObjectId(text);
        if (!id.isNull())
            return new Poco::MongoDB::ConcreteElement<Poco::MongoDB::ObjectId::Ptr>(name, id);
    } else if (field.type == Poco::MongoDB::ElementTraits<Poco::Int64>::TypeId) {
        Poco::Int64 number = 0;
        if (Poco::NumberParser::tryParse64(text, number))
            return new Poco::MongoDB::ConcreteElement<Poco::Int64>(name, number);
    }
    return Poco::MongoDB::Element::Ptr();
}

}  // namespace

SubDocument::SubDocument() = default;

SubDocument::~SubDocument() = default;

void SubDocument::Clear() { ClearUndeclaredFields(); }

Poco::MongoDB::Document::Ptr SubDocument::ToDocument() const {
    Poco::MongoDB::Document::Ptr document = new Poco::MongoDB::Document;
    for (const auto& entry : UndeclaredFields()) {
        Poco::MongoDB::Element::Ptr element = entry.second.ToElement();
        if (element.isNull()) element = ConvertedElement(entry.second);
        if (!element.isNull()) document->addElement(element);
    }
    return document;
}

}  // namespace DBACCESS
