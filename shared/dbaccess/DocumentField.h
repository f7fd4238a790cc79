#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "Poco/MongoDB/Element.h"

#include "runtime/BaseStrVar.h"
#include "runtime/StrModifier.h"

namespace DBACCESS {

// One document element that a record did not take, kept as text with the
// BSON type code it came with (2 for a string taken from an array).
class DocumentField {
public:
    // value is named name and holds text as loaded (changed flag clear),
    // through a modifier without limits or character sets.
    DocumentField(int typeCode, const std::string& name, const std::string& text);
    DocumentField(const DocumentField& other) = default;
    DocumentField(DocumentField&& other) = default;
    DocumentField& operator=(const DocumentField& other) = default;
    virtual ~DocumentField();

    // An element named as the field, made from the trimmed text by type:
    // 1 double, 2 and 9 string, 8 boolean, 16 32-bit integer, with the
    // value variables' text rules. Null for every other type (an array kept
    // as text, an ObjectId, a 64-bit integer).
    Poco::MongoDB::Element::Ptr ToElement() const;

    std::int32_t type;
    CORVANE::BaseStrVar<CORVANE::StrModifier> value;  // value.Get() is the trimmed text
};

// Elements by their (possibly dotted) name.
using DocumentFields = std::map<std::string, DocumentField>;

}  // namespace DBACCESS
