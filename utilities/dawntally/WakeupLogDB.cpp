#include "dawntally/WakeupLogDB.h"

#include <string_view>

#include "dbaccess/FieldLoading.h"
#include "dbaccess/ObjectIdText.h"
#include "dbaccess/ResultCode.h"

namespace DBACCESS {

WakeupLogDB::WakeupLogDB(const std::string& id)
    : MongoDBBase("wakeuplog"),
      actor("actor", 0),
      action("action", -1, 0, 0),
      archived("archived", 0),
      count("count", 0, 0, 0),
      fname("fname", 0),
      lname("lname", 0),
      line("line", -1, 0, 0),
      profileid("profileid", 0),
      promptid("promptid", 0, 0, 0),
      mailbox("mailbox", 20),
      notes("notes", 0),
      result("result", -1, 0, 0),
      source("source", -1, 0, 0),
      timestamp("timestamp", 0),
      eventtime("eventtime", 0),
      wakeupid("wakeupid", 0),
      tenantid("tenantid", 0) {
    Clear();
    std::string error;
    Read(id, error);
}

WakeupLogDB::~WakeupLogDB() = default;

void WakeupLogDB::Clear() {
    ResetFields(actor, action, archived, count, fname, lname, line, profileid, promptid, mailbox,
                notes, result, source, timestamp, wakeupid, eventtime, tenantid);
}

bool WakeupLogDB::SetField(const std::string& name, const std::string& text) {
    if (name == std::string_view("_id")) {
        id_ = text;
        return false;
    }
    // What the service logged about the call itself stays as it was read.
    if (LoadNamedField(name, text, eventtime)) {
        eventtime.readOnly = true;
        return false;
    }
    if (LoadNamedField(name, text, wakeupid)) {
        wakeupid.readOnly = true;
        return false;
    }
    return !LoadNamedField(name, text, actor, action, archived, count, fname, lname, line,
                           profileid, promptid, mailbox, notes, result, source, timestamp,
                           tenantid);
}

int WakeupLogDB::Read(const std::string& readId, std::string& errorText) {
    errorText.clear();
    if (readId.empty() || !Connect()) return kNoConnection;
    const Poco::MongoDB::ObjectId::Ptr objectId = MakeObjectId(readId);
    // Clear leaves "eventtime" and "wakeupid" writable for the load; they
    // are locked again however the read ends.
    Clear();
    id_.clear();
    struct LockWhenDone {
        WakeupLogDB& record;
        ~LockWhenDone() { record.LockLoadedFields(); }
    } lock{*this};
    if (objectId.isNull()) {
        Disconnect();
        return kNotFound;
    }
    ReadOne("_id", objectId);
    return id_.empty() ? kNotFound : 0;
}

const std::string& WakeupLogDB::GetId() const { return id_; }

void WakeupLogDB::LockLoadedFields() {
    eventtime.readOnly = true;
    wakeupid.readOnly = true;
}

}  // namespace DBACCESS
