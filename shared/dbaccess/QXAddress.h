#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One entry of a mailbox's address list ("email", "extension", "mwi",
// "mailbox", "pager", "phone"). Only ever read as part of its mailbox.
class QXAddress : public MongoDBBase {
public:
    QXAddress();
    // Copies every field's state, so a copy of a loaded entry keeps its
    // read-only "pos".
    QXAddress(const QXAddress& other) = default;
    QXAddress& operator=(const QXAddress& other) = default;
    ~QXAddress() override;

    // Every field back to its default; "pos" writable again.
    void Clear() override;
    // Loads the field of that name; "pos" turns read-only once loaded.
    // Takes every element, so elements of other names are dropped.
    bool SetField(const std::string& name, const std::string& text) override;

    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> definition;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> description;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> extraData;
    CORVANE::ValueVar<int> pos;  // -1 until the entry is stored in a list
    CORVANE::ValueVar<int> rank;
};

}  // namespace DBACCESS
