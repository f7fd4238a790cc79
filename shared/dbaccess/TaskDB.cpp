#include "dbaccess/TaskDB.h"

#include "Poco/MongoDB/InsertRequest.h"
#include "Poco/MongoDB/UpdateRequest.h"

#include "dbaccess/DatabaseName.h"
#include "dbaccess/FieldLoading.h"
#include "dbaccess/LastWriteError.h"
#include "dbaccess/LogDBError.h"
#include "dbaccess/ObjectIdText.h"
#include "dbaccess/ResultCode.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"

namespace DBACCESS {

namespace {

constexpr std::size_t kTimeLength = 20;
// The line the product's trace names for a write check (getLastError) that failed.
constexpr int kCheckFailedLine = 542;
// The line the product's trace names for a task write that failed before its check.
constexpr int kWriteFailedLine = 548;
// Added to the failure of a write whose request went out.
const char* const kMayBeStored = "; the task may have been stored";

}  // namespace

TaskDB::TaskDB(const std::string& collection)
    : MongoDBBase(collection),
      created("created", kTimeLength),
      priority("priority", 20, 0, 0),
      scheduled("scheduled", kTimeLength),
      data("data", 0),
      interval("interval", 0, 0, 0),
      maxretries("maxretries", 0, 0, 0),
      mailbox("mailbox", 0),
      retries("retries", 0, 0, 0),
      taskref("taskref", 0),
      tasktype("tasktype", 0, 0, 0),
      start("start", kTimeLength),
      end("end", kTimeLength),
      expire("expire", kTimeLength) {
    Clear();
}

TaskDB::~TaskDB() = default;

void TaskDB::Clear() {
    id.clear();
    listdata.clear();
    ResetFields(retries, data, expire, maxretries, mailbox, priority, interval, taskref, tasktype,
                start, end, scheduled, created);
}

bool TaskDB::OnArray(const std::string& name, Poco::MongoDB::Array::Ptr array) {
    if (name == "listdata" && !array.isNull()) {
        for (std::size_t i = 0; i < array->size(); ++i) {
            listdata.push_back(array->get<std::string>(static_cast<int>(i)));
        }
    }
    return true;
}

bool TaskDB::SetField(const std::string& name, const std::string& text) {
    if (name == "_id") {
        id = text;
        return false;
    }
    return !LoadNamedField(name, text, created, priority, scheduled, data, interval, maxretries,
                           mailbox, retries, taskref, tasktype, start, end, expire);
}

int TaskDB::Write(std::string& errorText) { return RealWrite(errorText, {}, {}); }

void TaskDB::AddFields(
    Poco::MongoDB::Document& fields, const std::map<std::string, std::string>& extraStrings,
    const std::map<std::string, Poco::SharedPtr<Poco::MongoDB::Array>>& extraArrays) const {
    fields.add(priority.name, priority.value)
        .add(scheduled.name, scheduled.Get())
        .add(taskref.name, taskref.Get())
        .add(tasktype.name, tasktype.value)
        .add(retries.name, retries.value)
        .add(maxretries.name, maxretries.value)
        .add(mailbox.name, mailbox.Get())
        .add(interval.name, interval.value)
        .add(start.name, start.Get())
        .add(end.name, end.Get())
        .add(expire.name, expire.Get())
        .add(created.name, created.Get())
        .add(data.name, data.Get());
    for (const auto& extra : extraStrings) {
        if (!extra.first.empty()) {
            fields.add(extra.first, extra.second);
        }
    }
    for (const auto& extra : extraArrays) {
        if (!extra.first.empty()) {
            fields.add(extra.first, extra.second);
        }
    }
    if (!listdata.empty()) {
        Poco::MongoDB::Array::Ptr list = new Poco::MongoDB::Array();
        for (std::size_t i = 0; i < listdata.size(); ++i) {
            list->add(std::to_string(i), listdata[i]);
        }
        fields.add("listdata", list);
    }
}

int TaskDB::RealWrite(
    std::string& errorText, const std::map<std::string, std::string>& extraStrings,
    const std::map<std::string, Poco::SharedPtr<Poco::MongoDB::Array>>& extraArrays,
    const std::function<void()>& sent) {
    errorText.clear();
    if (!Connect()) {
        return kNoConnection;
    }
    // An ObjectId is made only from its 24-digit text.
    const Poco::MongoDB::ObjectId::Ptr objectId = id.empty() ? nullptr : MakeObjectId(id);
    if (!id.empty() && objectId.isNull()) {
        Disconnect();
        errorText = "the task id \"" + id + "\" is no ObjectId";
        return kWriteFailed;
    }

    const std::string fullName = DatabaseName + "." + Collection();
    DateTime now;
    now.value = GetLocalFileTime();
    try {
        Exchange([&](GuardedConnection& connection) {
            const std::string nowText = FormatDateTime(now, "%Y%m%d%H%M%S%s");
            if (scheduled.Get().empty()) {
                scheduled.FromString(start.Get().empty() ? nowText : start.Get());
            }
            if (created.Get().empty()) {
                created.FromString(nowText);
            }

            if (objectId.isNull()) {
                Poco::MongoDB::InsertRequest request(fullName);
                AddFields(request.addNewDocument(), extraStrings, extraArrays);
                connection.sendRequest(request);
            } else {
                Poco::MongoDB::UpdateRequest request(fullName,
                                                     Poco::MongoDB::UpdateRequest::UPDATE_UPSERT);
                request.selector().add("_id", objectId);
                AddFields(request.update().addNewDocument("$set"), extraStrings, extraArrays);
                connection.sendRequest(request);
            }
            if (sent) {
                sent();
            }

            // The request went out: whatever its check says, or fails to
            // say, the server may well have stored it.
            try {
                const std::string checkFailure = LastWriteError(
                    connection, DatabaseName, "getLastError after the write to " + fullName);
                if (!checkFailure.empty()) {
                    errorText = checkFailure + kMayBeStored;
                }
            } catch (const Poco::Exception& e) {
                errorText = e.displayText() + kMayBeStored;
                LogDBError("DBACCESS::TaskDB::RealWrite", kCheckFailedLine, errorText);
                DropConnection();
            }
        });
    } catch (const Poco::Exception& e) {
        errorText = e.displayText();
        LogDBError("DBACCESS::TaskDB::RealWrite", kWriteFailedLine, errorText);
    }
    return errorText.empty() ? 0 : kWriteFailed;
}

}  // namespace DBACCESS
