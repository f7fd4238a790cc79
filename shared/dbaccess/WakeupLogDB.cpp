#include "dbaccess/WakeupLogDB.h"

#include "Poco/MongoDB/Cursor.h"
#include "dbaccess/DatabaseName.h"
#include "dbaccess/FieldLoading.h"
#include "dbaccess/ObjectIdText.h"
#include "dbaccess/ReplyRefusal.h"

namespace DBACCESS {

WakeupLogDB::WakeupLogDB(const std::string& id) : MongoDBBase("wakeuplog")
{
    Clear();
    std::string error;
    Read(id, error);
}

WakeupLogDB::~WakeupLogDB() = default;

void WakeupLogDB::Clear()
{
    using Safe = CORVANE::BaseStrVar<CORVANE::SafeStrModifier>;
    using Number = CORVANE::BaseStrVar<CORVANE::NumberStrModifier>;
    using Integer = CORVANE::ValueVar<int>;
    actor = Safe("actor", 0);
    action = Integer("action", -1, 0, 0);
    archived = Number("archived", 0);
    count = Integer("count", 0, 0, 0);
    fname = Safe("fname", 0);
    lname = Safe("lname", 0);
    line = Integer("line", -1, 0, 0);
    profileid = Safe("profileid", 0);
    promptid = Integer("promptid", 0, 0, 0);
    mailbox = Number("mailbox", 20);
    notes = Safe("notes", 0);
    result = Integer("result", -1, 0, 0);
    source = Integer("source", -1, 0, 0);
    timestamp = Number("timestamp", 0);
    wakeupid = Safe("wakeupid", 0);
    eventtime = Number("eventtime", 0);
    tenantid = Safe("tenantid", 0);
}

bool WakeupLogDB::SetField(const std::string& name, const std::string& text)
{
    if (name == "_id")
    {
        id_ = text;
        return false;
    }
    // What the service logged about the call itself stays as it was read.
    if (LoadNamedField(name, text, eventtime))
    {
        eventtime.readOnly = true;
        return false;
    }
    if (LoadNamedField(name, text, wakeupid))
    {
        wakeupid.readOnly = true;
        return false;
    }
    return !LoadNamedField(name, text, actor, action, archived, count, fname, lname, line,
                           profileid, promptid, mailbox, notes, result, source, timestamp,
                           tenantid);
}

int WakeupLogDB::Read(const std::string& readId, std::string& errorText)
{
    errorText.clear();
    if (readId.empty() || !Connect())
        return -50;
    const Poco::MongoDB::ObjectId::Ptr objectId = MakeObjectId(readId);
    // Clear leaves "eventtime" and "wakeupid" writable for the load; they
    // are locked again however the read ends.
    Clear();
    id_.clear();
    struct LockWhenDone
    {
        WakeupLogDB& record;
        ~LockWhenDone() { record.LockLoadedFields(); }
    } lock{*this};
    if (objectId.isNull())
    {
        Disconnect();
        return -47;
    }
    Exchange([this, &objectId](Poco::MongoDB::Connection& connection) {
        Poco::MongoDB::Cursor cursor(DatabaseName, Collection());
        cursor.query().selector().add("_id", objectId);
        cursor.query().setNumberToReturn(1);
        ParseDocuments(NextBatch(cursor, connection).documents());
    });
    return id_.empty() ? -47 : 0;
}

const std::string& WakeupLogDB::GetId() const
{
    return id_;
}

void WakeupLogDB::LockLoadedFields()
{
    eventtime.readOnly = true;
    wakeupid.readOnly = true;
}

}  // namespace DBACCESS
