// The wake-up call report as its users get it: dawntally run against the
// test server, to the console, to a file and mailed.

#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WakeupFixture.h"
#include "runtime/TimeText.h"
#include "support/FolderFiles.h"

namespace {

enum Column {
    kTimestamp,
    kScheduled,
    kAction,
    kResult,
    kMailbox,
    kRoom,
    kFirst,
    kLast,
    kTenant,
    kSource,
    kWho,
    kCount,
    kLine,
    kPrompt,
    kWakeupId,
    kArchived,
    kColumns
};

std::string Seconds(const DateTime& time) { return FormatDateTime(time, "%Y-%m-%d %H:%M:%S"); }
std::string Minutes(const DateTime& time) { return FormatDateTime(time, "%Y-%m-%d %H:%M"); }

// The fields of a row line that holds no double quote inside a field.
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    if (line.size() < 3 || line.front() != '"' || line.compare(line.size() - 2, 2, "\",") != 0) {
        return fields;
    }
    const std::string inner = line.substr(1, line.size() - 3);
    for (std::size_t at = 0;;) {
        const std::size_t end = inner.find("\",\"", at);
        fields.push_back(inner.substr(at, end == std::string::npos ? end : end - at));
        if (end == std::string::npos) {
            return fields;
        }
        at = end + 3;
    }
}

// The text with the time's half of the day written "am".
std::string HalfDayAsAm(std::string text) {
    for (const char* half : {"pm", "AM", "PM"}) {
        const std::size_t at = text.find(half);
        if (at != std::string::npos) {
            text.replace(at, 2, "am");
        }
    }
    return text;
}

using TESTSUPPORT::FilesIn;

class WakeupCallReportTest : public WakeupTest {};

TEST_F(WakeupCallReportTest, EmptyWindowGivesTheHeaderAloneOnTheConsole) {
    Seed({{Oid(1), DbTimeAgo(25 * 3600), "yesterday", ""}});
    const auto run = Run({});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, std::string(kWakeupHeader) + "\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(WakeupCallReportTest, RowHoldsEveryColumn) {
    const DateTime logged = TimeAgo(3600);
    const DateTime due = TimeAgo(1800);
    const DateTime archived = TimeAgo(600);
    Seed({{Oid(1), FormatDbTimestamp(logged), "wu-1",
           R"("eventtime": ")" + FormatDbTimestamp(due) + R"(", "archived": ")" +
               FormatDbTimestamp(archived) +
               R"(", "action": 2, "result": 1, "mailbox": "101", "fname": " Ana ",
                  "lname": "Costa", "tenantid": "1", "source": 0, "actor": "frontdesk",
                  "count": 2, "line": 12, "promptid": 40, "notes": "not shown")"}});
    const auto run = Run({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, std::string(kWakeupHeader) + "\n\"" + Seconds(logged) + "\",\"" +
                           Minutes(due) +
                           "\",\"Called Guest\",\"Answered\",\"101\",\"101A\",\"Ana\",\"Costa\","
                           "\"Main\",\"Guest\",\"frontdesk\",\"2\",\"12\",\"40\",\"wu-1\",\"" +
                           Seconds(archived) + "\",\n");
}

TEST_F(WakeupCallReportTest, RowsInTimestampOrderWhateverTheIdOrder) {
    const std::string tie = DbTimeAgo(2000);
    Seed({
        {Oid(1), DbTimeAgo(1000), "third", ""},
        {Oid(2), tie, "first-of-tie", ""},
        {Oid(3), DbTimeAgo(3000), "earliest", ""},
        {Oid(4), DbTimeAgo(-7200), "two-hours-ahead", ""},
        {Oid(5), tie, "second-of-tie", ""},
        {Oid(6), DbTimeAgo(1500), "", ""},  // no wake-up id: never reported
        {Oid(7), DbTimeAgo(30 * 3600), "before-the-window", ""},
    });
    std::vector<std::string> order;
    for (const std::string& line : ReportLines()) {
        const std::vector<std::string> fields = Fields(line);
        order.push_back(fields.size() == kColumns ? fields[kWakeupId] : line);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"WakeupID", "earliest", "first-of-tie",
                                               "second-of-tie", "third", "two-hours-ahead"}));
}

TEST_F(WakeupCallReportTest, WindowStartsTheHoursBeforeTheRunAndHasNoEnd) {
    Seed({{Oid(1), DbTimeAgo(3700), "out", ""},
          {Oid(2), DbTimeAgo(3500), "in", ""},
          {Oid(3), "29991231235959999", "far-ahead", ""}});
    const std::string earliest = DbTimeAgo(3600);
    const std::vector<std::string> lines = ReportLines({"-hours", "1"});
    const std::string latest = DbTimeAgo(3600);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Fields(lines[1]).at(kWakeupId), "in");
    EXPECT_EQ(Fields(lines[2]).at(kWakeupId), "far-ahead");

    const auto queries = RequestsOf("query", "kelden.wakeuplog");
    ASSERT_FALSE(queries.empty());
    const std::string query = "\"query\": {\"timestamp\": {\"$gte\": \"";
    const std::size_t at = queries[0].find(query);
    ASSERT_NE(at, std::string::npos) << queries[0];
    const std::string lower = queries[0].substr(at + query.size(), 17);
    EXPECT_EQ(queries[0].substr(at + query.size() + 17, 4), "\"}},") << queries[0];
    EXPECT_LE(earliest, lower);
    EXPECT_LE(lower, latest);
}

TEST_F(WakeupCallReportTest, ColumnRules) {
    const DateTime logged = TimeAgo(900);
    const DateTime due = TimeAgo(600);
    const std::string at = FormatDbTimestamp(logged);
    const std::string dueText = FormatDbTimestamp(due);
    struct Case {
        const char* wakeupid;
        std::string more;
        Column column;
        std::string expected;
    } const cases[] = {
        {"source-3", R"("source": 3)", kSource, "3"},
        {"source-8", R"("source": 8)", kSource, "User (telephone)"},
        {"source-9", R"("source": 9)", kSource, "User (telephone)"},
        {"source-12", R"("source": 12)", kSource, "12"},
        {"no-source", R"("action": 0)", kSource, "-1"},
        {"action-12", R"("action": 12)", kAction, "Unknown (12)"},
        {"result-12", R"("result": 12)", kResult, "Unknown (12)"},
        // A time column that is no 17-digit time shows the column before it.
        {"empty-eventtime", R"("eventtime": "")", kScheduled, Minutes(logged)},
        {"no-eventtime", R"("action": 0)", kScheduled, Minutes(logged)},
        {"short-archived", R"("eventtime": ")" + dueText + R"(", "archived": "2024")", kArchived,
         Seconds(due)},
        {"short-archived-after-empty-eventtime", R"("archived": "20240411")", kArchived,
         Seconds(logged)},
        {"empty-archived", R"("eventtime": ")" + dueText + R"(", "archived": "")", kArchived, ""},
        {"unknown-tenant", R"("tenantid": " 7 ")", kTenant, "7"},
        {"no-tenant", R"("tenantid": "")", kTenant, ""},
        {"second-tenant", R"("tenantid": "2")", kTenant, "Harbour Wing"},
        // The event's own names, whatever the directory holds.
        {"names", R"("mailbox": "102", "fname": "Ben", "lname": "Brandt")", kFirst, "Ben"},
        {"room", R"("mailbox": "102")", kRoom, "102"},
        {"mailbox-not-in-directory", R"("mailbox": "555")", kRoom, ""},
        {"staff-mailbox", R"("mailbox": "900")", kRoom, ""},
        {"leading-zero-mailbox", R"("mailbox": "0101")", kRoom, ""},
        {"defaults", R"("notes": "")", kCount, "0"},
        {"default-line", R"("notes": "")", kLine, "-1"},
        {"default-prompt", R"("notes": "")", kPrompt, "0"},
    };
    std::vector<Event> events;
    int n = 0;
    for (const Case& c : cases) {
        events.push_back({Oid(++n), at, c.wakeupid, c.more});
    }
    Seed(events);

    std::map<std::string, std::vector<std::string>> rows;
    const std::vector<std::string> lines = ReportLines();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), static_cast<std::size_t>(kColumns)) << lines[i];
        EXPECT_EQ(fields[kTimestamp], Seconds(logged)) << lines[i];
        rows[fields[kWakeupId]] = fields;
    }
    ASSERT_EQ(rows.size(), std::size(cases));
    for (const Case& c : cases) {
        EXPECT_EQ(rows[c.wakeupid][c.column], c.expected) << c.wakeupid;
    }
}

TEST_F(WakeupCallReportTest, AnEventThatCannotBeReadGivesARowOfDefaults) {
    Seed({{Oid(1), DbTimeAgo(600), "readable", R"("action": 0, "result": 0)"},
          {"not-an-object-id", DbTimeAgo(300), "text-id", R"("action": 0, "result": 0)"}});
    const std::string before = Seconds(DateTime::Now());
    const std::vector<std::string> lines = ReportLines();
    const std::string after = Seconds(DateTime::Now());
    ASSERT_EQ(lines.size(), 3u);

    // Without a time stamp of its own it sorts first and shows the run's time.
    const std::vector<std::string> fields = Fields(lines[1]);
    ASSERT_EQ(fields.size(), static_cast<std::size_t>(kColumns)) << lines[1];
    EXPECT_LE(before, fields[kTimestamp]);
    EXPECT_LE(fields[kTimestamp], after);
    EXPECT_EQ(fields[kScheduled], fields[kTimestamp].substr(0, 16));
    EXPECT_EQ(std::vector<std::string>(fields.begin() + kAction, fields.end()),
              (std::vector<std::string>{"Unknown (-1)", "Unknown (-1)", "", "", "", "", "", "-1",
                                        "", "0", "-1", "0", "", ""}));
    EXPECT_EQ(Fields(lines[2]).at(kWakeupId), "readable");
}

TEST_F(WakeupCallReportTest, EmailWithoutFileMailsATempReportWithItsSummary) {
    Seed({{Oid(1), DbTimeAgo(900), "a", R"("action": 0, "result": 1)"},
          {Oid(2), DbTimeAgo(800), "b", R"("action": 12, "result": 3)"},
          {Oid(3), DbTimeAgo(700), "c", R"("action": 0, "result": 1)"},
          {"unreadable", DbTimeAgo(600), "d", R"("action": 0, "result": 1)"}});
    const std::string recipients = "desk@hotel.example;night@hotel.example";
    const auto run = Run({"-email", recipients});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");

    std::string reportName, bodyName;
    for (const std::string& name : FilesIn(TempFolder())) {
        (name.compare(0, 2, "WU") == 0 ? reportName : bodyName) = name;
    }
    EXPECT_EQ(DigitsAsNines(reportName), "WU999999999999.csv");
    EXPECT_EQ(bodyName.compare(0, 2, "wr"), 0) << bodyName;
    const std::string reportPath = TempFolder() + "/" + reportName;
    EXPECT_EQ(Lines(dir_.Read("tmp/" + reportName)).size(), 5u);

    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u) << Server().Documents("taskspostwick");
    const std::string& task = tasks[0];
    EXPECT_EQ(JsonString(task, "autodelete"), "1");
    EXPECT_EQ(JsonString(task, "filepath"), reportPath);
    EXPECT_EQ(JsonString(task, "emailaddress"), recipients);
    EXPECT_EQ(JsonString(task, "bodypath"), TempFolder() + "/" + bodyName);
    EXPECT_NE(task.find("\"tasktype\": 2"), std::string::npos) << task;
    const std::string subject = JsonString(task, "subject");
    EXPECT_EQ(subject.substr(0, 18), "Wakeup report for ");
    EXPECT_EQ(HalfDayAsAm(DigitsAsNines(subject.substr(18))), "9999-99-99 at 99:99 am") << task;

    std::vector<std::string> body = Lines(dir_.Read("tmp/" + bodyName));
    ASSERT_EQ(body.size(), 16u) << dir_.Read("tmp/" + bodyName);
    EXPECT_EQ(HalfDayAsAm(DigitsAsNines(body[2])), "Start: 9999-99-99 99:99 am\r");
    EXPECT_EQ(HalfDayAsAm(DigitsAsNines(body[3])), "End: 9999-99-99 99:99 am\r");
    body[2] = body[3] = "";
    EXPECT_EQ(body,
              (std::vector<std::string>{
                  "Hotel Meridian\r", "\r", "", "", "Rows: 4\r", "\r", "Actions:\r",
                  "Unknown (-1): 1\r", "Scheduled: 2\r", "Unknown (12): 1\r", "\r", "Results:\r",
                  "Unknown (-1): 1\r", "Answered: 2\r", "Not answered: 1\r", ""}));
}

TEST_F(WakeupCallReportTest, EmptyWindowMailKeepsTheGivenFileAndHasNoSections) {
    const auto run = Run({"-email", "desk@hotel.example", "-file", "kept.csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(dir_.Read("kept.csv"), std::string(kWakeupHeader) + "\n");
    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(JsonString(tasks[0], "filepath"), dir_.File("kept.csv")) << "absolute for the sender";
    EXPECT_EQ(tasks[0].find("autodelete"), std::string::npos) << tasks[0];
    const std::string body = dir_.Read("tmp/" + FilesIn(TempFolder()).at(0));
    EXPECT_NE(body.find("\r\nRows: 0\r\n\n"), std::string::npos) << body;
    EXPECT_EQ(body.find("Actions"), std::string::npos) << body;
    EXPECT_EQ(body.find("Results"), std::string::npos) << body;
}

TEST_F(WakeupCallReportTest, LabelFileReplacesTitlesAndNamesButNotCodes) {
    dir_.Write("registry.reg",
               "Windows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
               "qxreports]\r\n\"InstallLocation\"=\"C:\\\\qx\"\r\n");
    dir_.Write("root/qx/reportstrings.ini",
               "[STRINGS]\r\nScheduled=Prevu\r\nTenant=Mieter \"Haus\"\r\n"
               "User (telephone)=Telefon\r\nUnknown (12)=Nie\r\n12=zwolf\r\n");
    Server().Seed("tenant", R"([{"_id": "3", "name": "Garden \"East\" Wing"}])");
    Seed({{Oid(1), DbTimeAgo(600), "w1", R"("action": 0, "source": 8, "tenantid": "3")"},
          {Oid(2), DbTimeAgo(500), "w2", R"("action": 12, "source": 12)"}});

    const auto run = Run({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(
        lines[0],
        "\"Timestamp\",\"Prevu\",\"Action\",\"Result\",\"Mailbox\",\"Room\",\"First\",\"Last\","
        "\"Mieter \"\"Haus\"\"\",\"Source\",\"Who\",\"Count\",\"Line\",\"Prompt\",\"WakeupID\","
        "\"Archived\",");
    EXPECT_NE(lines[1].find(",\"Prevu\",\"Unknown (-1)\",\"\",\"\",\"\",\"\","
                            "\"Garden \"\"East\"\" Wing\",\"Telefon\","),
              std::string::npos)
        << lines[1];
    EXPECT_NE(lines[2].find(",\"Unknown (12)\",\"Unknown (-1)\",\"\",\"\",\"\",\"\",\"\",\"12\","),
              std::string::npos)
        << lines[2];
}

}  // namespace
