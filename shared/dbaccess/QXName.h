#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"

namespace DBACCESS {

// The "name" sub-document of a mailbox. Its fields get their names and
// limits from Clear, which the owning mailbox calls before every read.
class QXName : public MongoDBBase {
public:
    QXName();
    ~QXName() override;

    void Clear() override;
    // Loads the field of that name. Takes every element, so elements of
    // other names are dropped.
    bool SetField(const std::string& name, const std::string& text) override;

    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> firstDisplay;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> lastDisplay;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> title;
    CORVANE::BaseStrVar<CORVANE::DTMFStrModifier> firstDtmf;
    CORVANE::BaseStrVar<CORVANE::DTMFStrModifier> lastDtmf;
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> lcFirst;  // lower-cased
    CORVANE::BaseStrVar<CORVANE::PrintableStrModifier> lcLast;   // lower-cased
};

}  // namespace DBACCESS
