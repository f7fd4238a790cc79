#include "staytally/GuestActivityReport.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <memory_resource>
#include <string>
#include <vector>

#include "dbaccess/MailboxDirectory.h"
#include "dbaccess/QXMailbox.h"
#include "platform/LargePages.h"
#include "reportframe/CsvFields.h"
#include "reportframe/ReportContent.h"
#include "reportframe/ReportFileNames.h"
#include "reportframe/ReportRun.h"
#include "runtime/TimeText.h"
#include "staytally/FindReportMailboxActivities.h"
#include "staytally/GuestCodeNames.h"

namespace {

const std::vector<std::string> kTitles = {
    "Timestamp", "Mailbox", "Room", "Tenant",  "Activity", "Method",
    "Result",    "Detail",  "Who",  "To From", "Line",
};

enum Section { kActivity, kMethod, kResult };

// One large page: a smaller chunk cannot be backed by one, and the first
// chunks would cost a page fault per small page.
constexpr std::size_t kFirstRecordChunk = std::size_t{2} << 20;

// No database time text gives this value (it lies beyond every calendar date).
constexpr std::uint64_t kUnparsed = ~std::uint64_t{0};

// Reads the window and turns every record of a guest mailbox into a row.
void CollectRows(ReportContent& report, int hours) {
    const auto directory = LoadMailboxDirectory("", MailboxCollection());
    const auto tenants = LoadTenantNames(TenantCollection());

    // Each guest mailbox is read once, when its first row is built, and kept
    // for the rows after it.
    std::map<std::string, std::shared_ptr<DBACCESS::QXMailbox>> mailboxes;
    for (const auto& entry : directory) {
        mailboxes.emplace(entry.first, nullptr);
    }

    report.end = DateTime::Now();
    report.start = DateTime::Now();
    report.start.Subtract(TimeSpan{static_cast<std::uint32_t>(hours) * 3600u, 0});

    // A window holds tens of thousands of records of some kilobytes each,
    // which all go together: they are cut one after another from large
    // pages, so that they cost tens of page faults rather than tens of
    // thousands.
    std::pmr::monotonic_buffer_resource recordMemory(kFirstRecordChunk, PLATFORM::LargePages());
    const auto records =
        FindReportMailboxActivities(FormatDbTimestamp(report.start), FormatDbTimestamp(report.end),
                                    ReportMailboxActivityCollection(), &recordMemory);
    report.rows.reserve(records.size());  // a row per record at most
    std::string row;                      // scratch space, kept across rows for its capacity
    for (const auto& hit : records) {
        const DBACCESS::ReportMailboxActivityDB& record = hit.second;
        const std::string number = record.mailbox.Get();
        const auto known = mailboxes.find(number);
        if (known == mailboxes.end()) {
            continue;  // not a guest mailbox
        }
        if (!known->second) {
            known->second = std::make_shared<DBACCESS::QXMailbox>(number);
        }
        const DBACCESS::QXMailbox& mailbox = *known->second;

        // A time stamp that is no database time shows when the row was made.
        // The clock is read only then: each reading costs a time-zone check.
        DateTime when;
        when.value = kUnparsed;
        ParseDbTimestamp(when, record.timestamp.Get());
        if (when.value == kUnparsed) {
            when = DateTime::Now();
        }
        const auto tenant = tenants.find(mailbox.tenantid.Get());

        row.clear();
        AppendCsvField(row, FormatDateTime(when, "%Y-%m-%d %H:%M:%S"));
        AppendCsvField(row, number);
        AppendCsvField(row, mailbox.room.roomid.Get());
        AppendCsvField(row, tenant == tenants.end() ? std::string() : tenant->second);
        AppendCsvField(row, GuestActivityName(record.activity.value));
        AppendCsvField(row, GuestMethodName(record.method.value));
        AppendCsvField(row, GuestResultName(record.result.value));
        AppendCsvField(row, record.detail.Get());
        AppendCsvField(row, record.username.Get());
        AppendCsvField(row, record.msgtofrom.Get());
        AppendCsvField(row, std::to_string(record.line.value));

        ++report.sections[kActivity].counts[record.activity.value];
        ++report.sections[kMethod].counts[record.method.value];
        ++report.sections[kResult].counts[record.result.value];
        // A copy holds the row in a block of its own size.
        AddRow(report.rows, report.rowText, record.timestamp.Get(), row);
    }
}

}  // namespace

void BuildGuestActivityReport(int hours, const std::string& emailList,
                              const std::string& filePath) {
    ReportContent report;
    report.reportFilePattern = "GA%Y%m%d%H%M.csv";
    report.tempPrefix = "gr";
    report.subjectPrefix = "Guest report for ";
    report.sections = {
        {"Activity", GuestActivityName, {}},
        {"Method", GuestMethodName, {}},
        {"Results", GuestResultName, {}},
    };
    report.header = CsvHeader(kTitles);
    RunReport(
        report, [hours](ReportContent& content) { CollectRows(content, hours); }, emailList,
        filePath);
}
