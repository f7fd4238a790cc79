#pragma once

#include "Poco/MongoDB/Document.h"

#include "dbaccess/MongoDBBase.h"

namespace DBACCESS {

// A free-form sub-document kept whole: it declares no field, so every
// element lands in UndeclaredFields() (fill it with LoadDocument).
class SubDocument : public MongoDBBase {
public:
    SubDocument();
    SubDocument(const SubDocument& other) = default;
    SubDocument& operator=(const SubDocument& other) = default;
    ~SubDocument() override;

    // Empties the kept elements only; the id and error texts stay.
    void Clear() override;

    // A new document of the kept elements in name order, each made by
    // DocumentField::ToElement, ObjectIds (24 hexadecimal digits) and 64-bit
    // integers converted here; elements without a BSON form (arrays kept as
    // text, unknown types, texts that are no such value) are left out.
    virtual Poco::MongoDB::Document::Ptr ToDocument() const;
};

}  // namespace DBACCESS
