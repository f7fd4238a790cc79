#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One mailbox a delivery goes to (an element of its "recipients"), with
// the guest's name and room as they were when the delivery was made.
class MDSRecipient : public MongoDBBase {
public:
    // The texts pass through their modifiers as any assignment does.
    MDSRecipient(int activity, const std::string& mailbox, const std::string& room,
                 const std::string& name, bool completed);
    MDSRecipient(const MDSRecipient& other) = default;
    MDSRecipient(MDSRecipient&& other) = default;
    MDSRecipient& operator=(const MDSRecipient& other) = default;
    ~MDSRecipient() override;

    // Every field back to its default; the base's id and undeclared fields
    // stay.
    void Clear() override;
    // Assigns the field of that name (false); any other name is not taken.
    bool SetField(const std::string& name, const std::string& text) override;

    CORVANE::ValueVar<int> activity;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> mailbox;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> name;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> room;
    CORVANE::ValueVar<bool> completed;
};

}  // namespace DBACCESS
