#include "staytally/ReportMailboxActivityDB.h"

#include <string_view>

#include "dbaccess/FieldLoading.h"
#include "dbaccess/ObjectIdText.h"
#include "dbaccess/ResultCode.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"

namespace DBACCESS {

ReportMailboxActivityDB::ReportMailboxActivityDB()
    : MongoDBBase("reportmbactivity"),
      activity("activity", 0, 0, 0),
      line("line", 0, 0, 0),
      mailbox("mailbox", 20),
      method("method", 0, 0, 0),
      number("number", 60),
      result("result", 0, 0, 0),
      timestamp("timestamp", 60),
      detail("detail", 0),
      msgtofrom("msgtofrom", 0),
      msgcreatedby("msgcreatedby", 0),
      msgfile("msgfile", 0),
      msgenvelope("msgenvelope", 0),
      uniqueid("uniqueid", 0),
      expiration("expiration", 0),
      username("username", 0) {
    Clear();
}

ReportMailboxActivityDB::ReportMailboxActivityDB(const ReportMailboxActivityDB& other) = default;

ReportMailboxActivityDB& ReportMailboxActivityDB::operator=(const ReportMailboxActivityDB& other) =
    default;

ReportMailboxActivityDB::~ReportMailboxActivityDB() = default;

void ReportMailboxActivityDB::Clear() {
    id.clear();
    ResetFields(activity, line, mailbox, method, number, result, timestamp, detail, msgtofrom,
                msgcreatedby, msgfile, msgenvelope, uniqueid, expiration, username);

    DateTime now;
    now.value = GetLocalFileTime();
    timestamp.FromString(FormatDateTime(now, "%Y%m%d%H%M%S%s"));
}

bool ReportMailboxActivityDB::SetField(const std::string& name, const std::string& text) {
    if (name == std::string_view("_id")) {
        id = text;
        return false;
    }
    return !AssignNamedField(name, text, activity, method, result, line, timestamp, msgfile,
                             msgenvelope, mailbox, number, detail, msgtofrom, msgcreatedby,
                             uniqueid, expiration, username);
}

int ReportMailboxActivityDB::Read(const std::string& readId, std::string& errorText) {
    errorText.clear();
    if (readId.empty() || !Connect()) {
        return kNoConnection;
    }
    const Poco::MongoDB::ObjectId::Ptr objectId = MakeObjectId(readId);
    Clear();
    if (objectId.isNull()) {
        Disconnect();
        return kNotFound;
    }
    ReadOne("_id", objectId);
    return id.empty() ? kNotFound : 0;
}

}  // namespace DBACCESS
