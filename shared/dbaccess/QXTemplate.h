#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One entry of a mailbox's template list ("evt", "msg", "ntf", "crp"). Only
// ever read as part of its mailbox.
class QXTemplate : public MongoDBBase {
public:
    QXTemplate();
    // Copies every field's state, so a copy of a loaded entry keeps its
    // read-only "pos".
    QXTemplate(const QXTemplate& other) = default;
    QXTemplate& operator=(const QXTemplate& other) = default;
    ~QXTemplate() override;

    // Every field back to its default; "pos" writable again.
    void Clear() override;
    // Loads the field of that name; "pos" turns read-only once loaded.
    // Takes every element, so elements of other names are dropped.
    bool SetField(const std::string& name, const std::string& text) override;

    CORVANE::ValueVar<bool> disabled;
    CORVANE::BaseStrVar<CORVANE::FilepathStrModifier> filepath;  // lower-cased
    CORVANE::ValueVar<int> pos;  // -1 until the entry is stored in a list
};

}  // namespace DBACCESS
