#include "staytally/ReportMailboxActivityDB.h"

#include "dbaccess/ObjectIdText.h"
#include "dbaccess/ResultCode.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"

namespace DBACCESS {

ReportMailboxActivityDB::ReportMailboxActivityDB() : MongoDBBase("reportmbactivity") { Clear(); }

ReportMailboxActivityDB::ReportMailboxActivityDB(const ReportMailboxActivityDB& other) = default;

ReportMailboxActivityDB& ReportMailboxActivityDB::operator=(
    const ReportMailboxActivityDB& other) = default;

ReportMailboxActivityDB::~ReportMailboxActivityDB() = default;

void ReportMailboxActivityDB::Clear() {
    using Integer = CORVANE::ValueVar<int>;
    using Safe = CORVANE::BaseStrVar<CORVANE::SafeStrModifier>;
    using FileName = CORVANE::BaseStrVar<CORVANE::FilenameStrModifier>;
    id.clear();
    activity = Integer("activity", 0, 0, 0);
    mailbox = Safe("mailbox", 20);
    method = Integer("method", 0, 0, 0);
    result = Integer("result", 0, 0, 0);
    number = Safe("number", 60);
    timestamp = CORVANE::BaseStrVar<CORVANE::NumberStrModifier>("timestamp", 60);
    line = Integer("line", 0, 0, 0);
    detail = Safe("detail", 0);
    msgtofrom = Safe("msgtofrom", 0);
    msgfile = FileName("msgfile", 0);
    msgenvelope = FileName("msgenvelope", 0);
    msgcreatedby = Safe("msgcreatedby", 0);
    uniqueid = Safe("uniqueid", 0);
    expiration = Safe("expiration", 0);
    username = Safe("username", 0);

    DateTime now;
    now.value = GetLocalFileTime();
    timestamp.FromString(FormatDateTime(now, "%Y%m%d%H%M%S%s"));
}

bool ReportMailboxActivityDB::SetField(const std::string& name, const std::string& text) {
    if (name == "_id") {
        id = text;
        return false;
    }
    for (auto* field : {&activity, &method, &result, &line}) {
        if (field->name == name) {
            field->FromString(text);
            return false;
        }
    }
    if (name == timestamp.name) {
        timestamp.FromString(text);
        return false;
    }
    if (name == msgfile.name) {
        msgfile.FromString(text);
        return false;
    }
    if (name == msgenvelope.name) {
        msgenvelope.FromString(text);
        return false;
    }
    for (auto* field : {&mailbox, &number, &detail, &msgtofrom, &msgcreatedby, &uniqueid,
                        &expiration, &username}) {
        if (field->name == name) {
            field->FromString(text);
            return false;
        }
    }
    return true;
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
