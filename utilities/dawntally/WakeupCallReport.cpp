#include "dawntally/WakeupCallReport.h"

#include <cstdint>
#include <string>
#include <vector>

#include "dawntally/FindWakeupLogIds.h"
#include "dawntally/WakeupCodeNames.h"
#include "dawntally/WakeupLogCollection.h"
#include "dawntally/WakeupLogDB.h"
#include "dbaccess/MailboxDirectory.h"
#include "reportframe/CsvFields.h"
#include "reportframe/ReportContent.h"
#include "reportframe/ReportRun.h"
#include "reportframe/ReportFileNames.h"
#include "runtime/TimeText.h"

namespace {

const std::vector<std::string> kTitles = {
    "Timestamp", "Scheduled", "Action", "Result", "Mailbox", "Room",     "First",   "Last",
    "Tenant",    "Source",    "Who",    "Count",  "Line",    "Prompt",   "WakeupID", "Archived",
};

enum Section { kActions, kResults };

const char* const kWithSeconds = "%Y-%m-%d %H:%M:%S";
const char* const kMinutes = "%Y-%m-%d %H:%M";

// The time columns share one working time, so a column whose text is no
// database time shows the time of the column before it (the first: now).
std::string TimeField(DateTime& working, const std::string& text, const char* format) {
    ParseDbTimestamp(working, text);
    return CsvField(FormatDateTime(working, format));
}

struct Lookups {
    MailboxDirectory directory;
    TenantNames tenants;
};

// The row of event, written over row (scratch space, kept across calls for
// its capacity).
void BuildRow(std::string& row, const DBACCESS::WakeupLogDB& event, const Lookups& lookups) {
    const std::string number = event.mailbox.Get();
    const auto box = lookups.directory.find(number);
    const std::string tenantId = event.tenantid.Get();
    const auto tenant = lookups.tenants.find(tenantId);

    DateTime working = DateTime::Now();
    row.clear();
    row += TimeField(working, event.timestamp.Get(), kWithSeconds);
    row += TimeField(working, event.eventtime.Get(), kMinutes);
    AppendCsvField(row, WakeupActionName(event.action.value));
    AppendCsvField(row, WakeupResultName(event.result.value));
    AppendCsvField(row, number);
    AppendCsvField(row, box == lookups.directory.end() ? std::string() : box->second.roomid.Get());
    AppendCsvField(row, event.fname.Get());
    AppendCsvField(row, event.lname.Get());
    AppendCsvField(row, tenant == lookups.tenants.end() ? tenantId : tenant->second);
    AppendCsvField(row, WakeupSourceName(event.source.value));
    AppendCsvField(row, event.actor.Get());
    AppendCsvField(row, std::to_string(event.count.value));
    AppendCsvField(row, std::to_string(event.line.value));
    AppendCsvField(row, std::to_string(event.promptid.value));
    AppendCsvField(row, event.wakeupid.Get());
    row += event.archived.value.empty() ? CsvField(std::string())
                                        : TimeField(working, event.archived.Get(), kWithSeconds);
}

void CollectRows(ReportContent& report, int hours) {
    Lookups lookups;
    lookups.directory = LoadMailboxDirectory("", MailboxCollection());
    lookups.tenants = LoadTenantNames(TenantCollection());

    report.end = DateTime::Now();
    report.start = DateTime::Now();
    report.start.Subtract(TimeSpan{static_cast<std::uint32_t>(hours) * 3600u, 0});

    // No upper bound: events logged while the report runs, or time-stamped
    // ahead, belong to it too.
    const auto ids =
        FindWakeupLogIds(FormatDbTimestamp(report.start), std::string(), WakeupLogCollection());
    std::string row;
    for (const auto& id : ids) {
        // One record at a time: its connection goes back to the pool with it.
        const DBACCESS::WakeupLogDB event(id.first);
        ++report.sections[kActions].counts[event.action.value];
        ++report.sections[kResults].counts[event.result.value];
        BuildRow(row, event, lookups);
        // A copy holds the row in a block of its own size.
        report.rows.emplace(event.timestamp.Get(), row);
    }
}

}  // namespace

void BuildWakeupCallReport(int hours, const std::string& emailList, const std::string& filePath) {
    ReportContent report;
    report.reportFilePattern = "WU%Y%m%d%H%M.csv";
    report.tempPrefix = "wr";
    report.subjectPrefix = "Wakeup report for ";
    report.sections = {
        {"Actions", WakeupActionName, {}},
        {"Results", WakeupResultName, {}},
    };
    report.header = CsvHeader(kTitles);
    RunReport(report, [hours](ReportContent& content) { CollectRows(content, hours); }, emailList,
              filePath);
}
