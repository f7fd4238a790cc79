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
#include "reportframe/ReportFileNames.h"
#include "reportframe/ReportRun.h"
#include "runtime/TimeText.h"

namespace {

const std::vector<std::string> kTitles = {
    "Timestamp", "Scheduled", "Action", "Result", "Mailbox", "Room",   "First",    "Last",
    "Tenant",    "Source",    "Who",    "Count",  "Line",    "Prompt", "WakeupID", "Archived",
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

std::string Row(const DBACCESS::WakeupLogDB& event, const Lookups& lookups) {
    const std::string number = event.mailbox.Get();
    const auto box = lookups.directory.find(number);
    const std::string tenantId = event.tenantid.Get();
    const auto tenant = lookups.tenants.find(tenantId);

    DateTime working = DateTime::Now();
    std::string row;
    row += TimeField(working, event.timestamp.Get(), kWithSeconds);
    row += TimeField(working, event.eventtime.Get(), kMinutes);
    row += CsvField(WakeupActionName(event.action.value));
    row += CsvField(WakeupResultName(event.result.value));
    row += CsvField(number);
    row += CsvField(box == lookups.directory.end() ? std::string() : box->second.roomid.Get());
    row += CsvField(event.fname.Get());
    row += CsvField(event.lname.Get());
    row += CsvField(tenant == lookups.tenants.end() ? tenantId : tenant->second);
    row += CsvField(WakeupSourceName(event.source.value));
    row += CsvField(event.actor.Get());
    row += CsvField(std::to_string(event.count.value));
    row += CsvField(std::to_string(event.line.value));
    row += CsvField(std::to_string(event.promptid.value));
    row += CsvField(event.wakeupid.Get());
    row += event.archived.value.empty() ? CsvField(std::string())
                                        : TimeField(working, event.archived.Get(), kWithSeconds);
    return row;
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
    for (const auto& id : ids) {
        // One record at a time: its connection goes back to the pool with it.
        const DBACCESS::WakeupLogDB event(id.first);
        ++report.sections[kActions].counts[event.action.value];
        ++report.sections[kResults].counts[event.result.value];
        report.rows.emplace(event.timestamp.Get(), Row(event, lookups));
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
    RunReport(
        report, [hours](ReportContent& content) { CollectRows(content, hours); }, emailList,
        filePath);
}
