#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One entry of a mailbox's item list ("prompts", "folders", "lists"). Only
// ever read as part of its mailbox.
class QXItem : public MongoDBBase {
public:
    QXItem();
    // Copies every field's state, so a copy of a loaded entry keeps its
    // read-only "pos".
    QXItem(const QXItem& other) = default;
    QXItem& operator=(const QXItem& other) = default;
    ~QXItem() override;

    // Every field back to its default; "pos" writable again.
    void Clear() override;
    // Loads the field of that name; "pos" turns read-only once loaded.
    // Takes every element, so elements of other names are dropped.
    bool SetField(const std::string& name, const std::string& text) override;

    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> data;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> description;
    CORVANE::ValueVar<int> pos;  // -1 until the entry is stored in a list
};

}  // namespace DBACCESS
