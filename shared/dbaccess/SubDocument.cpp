#include "dbaccess/SubDocument.h"

namespace DBACCESS {

SubDocument::SubDocument() = default;

SubDocument::~SubDocument() = default;

void SubDocument::Clear()
{
    ClearUndeclaredFields();
}

Poco::MongoDB::Document::Ptr SubDocument::ToDocument() const
{
    Poco::MongoDB::Document::Ptr document = new Poco::MongoDB::Document;
    for (const auto& entry : UndeclaredFields())
    {
        const Poco::MongoDB::Element::Ptr element = entry.second.ToElement();
        if (!element.isNull())
            document->addElement(element);
    }
    return document;
}

}  // namespace DBACCESS
