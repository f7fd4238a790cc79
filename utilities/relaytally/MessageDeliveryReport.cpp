#include "relaytally/MessageDeliveryReport.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "dbaccess/MailboxDirectory.h"
#include "relaytally/DeliveryCodeNames.h"
#include "relaytally/FindDeliveryActivityIds.h"
#include "relaytally/LoadRecordingNumbers.h"
#include "relaytally/MDSActivityDB.h"
#include "relaytally/QXRecording.h"
#include "relaytally/RecordingCollection.h"
#include "reportframe/CsvFields.h"
#include "reportframe/ReportContent.h"
#include "reportframe/ReportFileNames.h"
#include "reportframe/ReportRun.h"
#include "reportframe/ReportStrings.h"
#include "runtime/TimeText.h"
#include "runtime/ValueText.h"

namespace {

const std::vector<std::string> kTitles = {
    "Timestamp",   "Created", "Scheduled", "Expiration", "Username",
    "Description", "ID",      "Urgent",    "Recording",  "Type",
    "Mailbox",     "Room",    "Name",      "Tenant",     "Last Activity",
};

// Recording number to its name; a recording that could not be read has an
// empty one.
using RecordingNames = std::map<int, std::string>;

RecordingNames LoadRecordingNames() {
    RecordingNames names;
    for (const int number : LoadRecordingNumbers(RecordingCollection())) {
        const DBACCESS::QXRecording recording(number);
        names.emplace(number, recording.name.Get());
    }
    return names;
}

const char* const kWithSeconds = "%Y-%m-%d %H:%M:%S";

std::string RecordingText(const DBACCESS::MDSActivityDB& delivery, const RecordingNames& names) {
    if (!delivery.filepath.value.empty()) {
        return GetReportString("Message");
    }
    if (!delivery.text.value.empty()) {
        return GetReportString("Text");
    }
    // A "recid" without digits names no recording, even when one is
    // numbered 0.
    const std::string recid = delivery.recid.Get();
    int number = 0;
    const auto found =
        CORVANE::ReadCheckedInteger(recid, number) ? names.find(number) : names.end();
    if (found == names.end()) {
        return GetReportString("Recording");
    }
    return found->second + " (" + recid + ")";
}

// The name the delivery gives the mailbox's first recipient entry.
std::string RecipientName(const DBACCESS::MDSActivityDB& delivery, const std::string& mailbox) {
    const auto first = delivery.recipients.lower_bound(mailbox);
    if (first == delivery.recipients.end() || first->first != mailbox) {
        return std::string();
    }
    return first->second.name.Get();
}

struct Lookups {
    MailboxDirectory directory;
    TenantNames tenants;
    RecordingNames recordings;
};

// One row per activity entry of the delivery, in entry time stamp order.
// row is scratch space, kept across calls for its capacity.
void AddDeliveryRows(ReportContent& report, const DBACCESS::MDSActivityDB& delivery,
                     const Lookups& lookups, std::string& row) {
    const std::string recording = RecordingText(delivery, lookups.recordings);
    const std::string type = DeliveryTypeName(delivery.type.value);
    const std::string urgent = GetReportString(delivery.urgent.value ? "Yes" : "No");

    for (const auto& logged : delivery.activities) {
        const DBACCESS::MDSActivity& entry = logged.second;
        const std::string& mailbox = entry.mailbox.value;
        const auto box = lookups.directory.find(mailbox);
        std::string room;
        std::string tenant;
        if (box != lookups.directory.end()) {
            room = box->second.roomid.Get();
            const auto name = lookups.tenants.find(box->second.tenantid.Get());
            if (name != lookups.tenants.end()) {
                tenant = name->second;
            }
        }

        DateTime working = DateTime::Now();
        row.clear();
        AppendCsvTime(row, working, entry.timestamp.Get(), kWithSeconds);
        AppendCsvTime(row, working, delivery.created.Get(), kWithSeconds);
        AppendCsvTime(row, working, delivery.deliver.value, kWithSeconds);
        if (delivery.expiration.value.empty())
            AppendCsvField(row, std::string());
        else
            AppendCsvTime(row, working, delivery.expiration.Get(), kWithSeconds);
        AppendCsvField(row, delivery.creator.value);
        AppendCsvField(row, delivery.description.value);
        AppendCsvField(row, delivery.accountingid.value);
        AppendCsvField(row, urgent);
        AppendCsvField(row, recording);
        AppendCsvField(row, type);
        AppendCsvField(row, mailbox);
        AppendCsvField(row, room);
        AppendCsvField(row, RecipientName(delivery, mailbox));
        AppendCsvField(row, tenant);
        AppendCsvField(row, DeliveryActivityName(entry.activity.value));

        ++report.sections.front().counts[entry.activity.value];
        // A copy holds the row in a block of its own size.
        AddRow(report.rows, report.rowText, delivery.timestamp.value, row);
    }
}

void CollectRows(ReportContent& report, int hours) {
    Lookups lookups;
    lookups.directory = LoadMailboxDirectory("", MailboxCollection());
    lookups.tenants = LoadTenantNames(TenantCollection());
    lookups.recordings = LoadRecordingNames();

    report.end = DateTime::Now();
    report.start = DateTime::Now();
    report.start.Subtract(TimeSpan{static_cast<std::uint32_t>(hours) * 3600u, 0});

    const std::vector<std::string> ids =
        FindDeliveryActivityIds(FormatDbTimestamp(report.end), FormatDbTimestamp(report.start));
    // One record for every delivery: each read starts by clearing it, and a
    // record this large allocated per delivery costs a heap consolidation.
    DBACCESS::MDSActivityDB delivery;
    std::string row;
    for (const std::string& id : ids) {
        if (delivery.Read(id) != 0) {
            continue;  // gone since the window was listed
        }
        AddDeliveryRows(report, delivery, lookups, row);
    }
}

}  // namespace

void BuildMessageDeliveryReport(int hours, const std::string& emailList,
                                const std::string& filePath) {
    ReportContent report;
    report.reportFilePattern = "MDS%Y%m%d%H%M.csv";
    report.tempPrefix = "mds";
    report.subjectPrefix = "Message Delivery report for ";
    report.sections = {{"Activity", DeliveryActivityName, {}}};
    report.header = CsvHeader(kTitles);
    RunReport(
        report, [hours](ReportContent& content) { CollectRows(content, hours); }, emailList,
        filePath);
}
