#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One entry of a delivery's "activity" log: what happened to the message
// at one mailbox, and when. Filled from its sub-document by the delivery
// record; it has no collection of its own.
class MDSActivity : public MongoDBBase {
public:
    MDSActivity();
    MDSActivity(const MDSActivity& other) = default;
    MDSActivity(MDSActivity&& other) = default;
    MDSActivity& operator=(const MDSActivity& other) = default;
    ~MDSActivity() override;

    // Every field back to its default. The base's id and undeclared fields
    // stay.
    void Clear() override;
    // Assigns the field of that name (false); any other name is not taken.
    bool SetField(const std::string& name, const std::string& text) override;

    CORVANE::ValueVar<int> activity;  // the delivery activity code
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> detail;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> mailbox;      // at most 20 characters
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> number;       // at most 60 characters
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> timestamp;  // database time, at most 60 digits
};

}  // namespace DBACCESS
