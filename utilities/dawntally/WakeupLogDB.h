#pragma once

#include <string>

#include "dbaccess/MongoDBBase.h"
#include "runtime/BaseStrVar.h"
#include "runtime/ValueVar.h"

namespace DBACCESS {

// One wake-up event as the product's wake-up service logs it in
// "wakeuplog": what was done (action), with what outcome (result), who asked
// for it (source, actor), when it was logged (timestamp), when the call was
// due (eventtime) and when it was archived; times are 17-digit local time
// texts. Read-only: nothing here writes to the database.
class WakeupLogDB : public MongoDBBase {
public:
    // Reads the event of that "_id" text. Whether it was found shows only in
    // GetId(), which stays empty when nothing was read; the fields then hold
    // their defaults.
    explicit WakeupLogDB(const std::string& id);
    ~WakeupLogDB() override;

    // Every field back to its default, "eventtime" and "wakeupid" writable
    // again. The id text and the base's undeclared fields stay.
    void Clear() override;
    // "_id" and the fields are taken (false), through the fields' filters
    // and limits; any other name is not.
    bool SetField(const std::string& name, const std::string& text) override;

    // Reads the event of an ObjectId text: 0 read, -47 not found (also for a
    // text that is no ObjectId, which is not sent), -50 empty id or no
    // connection (the record is then left as it was). errorText is emptied.
    // Any other outcome leaves "eventtime" and "wakeupid" read-only, also a
    // library exception (a connection lost in the middle of the read), which
    // passes on.
    int Read(const std::string& id, std::string& errorText);

    // The ObjectId of the event read, as 24 lowercase hexadecimal digits;
    // empty when none was.
    const std::string& GetId() const;

    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> actor;
    CORVANE::ValueVar<int> action;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> archived;
    CORVANE::ValueVar<int> count;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> fname;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> lname;
    CORVANE::ValueVar<int> line;
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> profileid;
    CORVANE::ValueVar<int> promptid;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> mailbox;  // at most 20 digits
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> notes;
    CORVANE::ValueVar<int> result;
    CORVANE::ValueVar<int> source;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> timestamp;
    CORVANE::BaseStrVar<CORVANE::NumberStrModifier> eventtime;  // read-only outside a read
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> wakeupid;     // read-only outside a read
    CORVANE::BaseStrVar<CORVANE::SafeStrModifier> tenantid;

private:
    // Makes "eventtime" and "wakeupid" read-only.
    void LockLoadedFields();

    std::string id_;
};

}  // namespace DBACCESS
