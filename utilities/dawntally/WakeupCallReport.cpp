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

struct Lookups {
    MailboxDirectory directory;
    TenantNames tenants;
};

std::string Row(const DBACCESS::WakeupLogDB& event, const Lookups& lookups) {
    const std::string number = event.mailbox.Get();
    const auto box = lookups.directory.find(number);
    const std::string tenantId = event.tenantid.Get();
    const auto tenant = lookups.tenants.find(tenantId);

    // A first time column that is no database time shows now.
    DateTime working = DateTime::Now();
    std::string row;
    AppendCsvTime(row, working, event.timestamp.Get(), kWithSeconds);
    AppendCsvTime(row, working, event.eventtime.Get(), kMinutes);
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
    if (event.archived.value.empty())
        AppendCsvField(row, std::string());
    else
        AppendCsvTime(row, working, event.archived.Get(), kWithSeconds);
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
    report.rows.reserve(ids.size());  // a row per event at most
    for (const auto& id : ids) {
        // One record at a time: its connection goes back to the pool with it.
        const DBACCESS::WakeupLogDB event(id.first);
        ++report.sections[kActions].counts[event.action.value];
        ++report.sections[kResults].counts[event.result.value];
        AddRow(report.rows, report.rowText, event.timestamp.Get(), Row(event, lookups));
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
