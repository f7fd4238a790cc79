#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GuestFixtures.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"

namespace {

// The latest 09:15:00.000 of the last 24 hours: as stored, and as the
// report shows it.
struct QuarterPastNine {
    std::string stored;
    std::string shown;
};

QuarterPastNine LatestQuarterPastNine() {
    DateTime day = DateTime::Now();
    if (FormatDateTime(day, "%H%M%S") < "091500") {
        day.Subtract(TimeSpan{24 * 3600, 0});
    }
    return {FormatDateTime(day, "%Y%m%d") + "091500000",
            FormatDateTime(day, "%Y-%m-%d") + " 09:15:00"};
}

std::string NowShown() { return FormatDateTime(DateTime::Now(), "%Y-%m-%d %H:%M:%S"); }

// The "Detail" field of each row line.
std::vector<std::string> Details(const std::string& report) {
    std::vector<std::string> details;
    const std::vector<std::string> lines = Lines(report);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = CsvFieldsOf(lines[i]);
        details.push_back(fields.size() == 12 ? fields[7] : "?");
    }
    return details;
}

TEST_F(GuestReportTest, EmptyWindowGivesTheHeaderAlone) {
    Seed({{Oid(0, 1), DbTimeAgo(25 * 3600)}, {Oid(0, 2), DbTimeAgo(-3600)}});
    const auto run = RunStaytally({});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, std::string(kGuestHeader) + "\n");
}

TEST_F(GuestReportTest, WindowIsTheGivenHoursBeforeTheRun) {
    // The record at 1.5 h falls inside a window even one hour too long.
    std::vector<Activity> records(3);
    records[0] = {Oid(0, 1), DbTimeAgo(7200)};
    records[0].detail = "two hours ago";
    records[1] = {Oid(0, 2), DbTimeAgo(5400)};
    records[1].detail = "an hour and a half ago";
    records[2] = {Oid(0, 3), DbTimeAgo(1800)};
    records[2].detail = "half an hour ago";
    Seed(records);
    const struct {
        const char* hours;
        std::vector<std::string> details;
    } cases[] = {
        {"1", {"half an hour ago"}},
        {"3", {"two hours ago", "an hour and a half ago", "half an hour ago"}},
    };
    for (const auto& c : cases) {
        const auto run = RunStaytally({"-hours", c.hours});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(Details(run.out), c.details) << "-hours " << c.hours;
    }
}

TEST_F(GuestReportTest, RowHoldsEveryColumn) {
    const QuarterPastNine time = LatestQuarterPastNine();
    Activity record{Oid(0, 1), time.stored};
    record.detail = "Lamp on";
    record.username = "pms";
    record.msgtofrom = "102";
    record.line = 7;
    Seed({record});

    const auto run = RunStaytally({"-hours", "24"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out),
              (std::vector<std::string>{kGuestHeader,
                                        "\"" + time.shown +
                                            "\",\"101\",\"101A\",\"Main\",\"MWI on\",\"Telephone\","
                                            "\"Success\",\"Lamp on\",\"pms\",\"102\",\"7\","}));
}

TEST_F(GuestReportTest, RowsOfGuestMailboxesInTimeThenIdOrder) {
    const std::string earlier = DbTimeAgo(1200);
    const std::string sameTime = DbTimeAgo(600);
    std::vector<Activity> records(7);
    records[0] = {Oid(0, 0x20), sameTime};
    records[0].detail = "same time, higher id";
    records[1] = {Oid(0, 0x10), sameTime};
    records[1].detail = "same time, lower id";
    records[2] = {Oid(0, 0x30), earlier};
    records[2].detail = "earliest";
    records[3] = {Oid(0, 0x40), earlier, "0101"};
    records[3].detail = "number with a leading zero";
    records[4] = {Oid(0, 0x50), earlier, "900"};
    records[4].detail = "staff mailbox";
    records[5] = {Oid(0, 0x60), earlier, "555"};
    records[5].detail = "no such mailbox";
    records[6] = {Oid(0, 0x05), DbTimeAgo(300), "102", 22, 9};
    records[6].detail = "latest";
    Seed(records);

    const auto run = RunStaytally({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Details(run.out), (std::vector<std::string>{"earliest", "same time, lower id",
                                                          "same time, higher id", "latest"}));
    EXPECT_NE(run.out.find("\"102\",\"102\",\"Harbour Wing\",\"Check out\",\"PMS\","),
              std::string::npos)
        << run.out;
}

// A sub-document's own "timestamp" reaches the record under its plain name
// and empties the record's time stamp after the search had found it.
TEST_F(GuestReportTest, EmptyTimestampSortsFirstAndShowsTheRunTime) {
    Activity emptied{Oid(0, 2), DbTimeAgo(60)};
    emptied.detail = "emptied";
    emptied.extra = "\"meta\": {\"timestamp\": \"\"}";
    Activity plain{Oid(0, 1), DbTimeAgo(7200)};
    plain.detail = "plain";
    Seed({plain, emptied});

    const std::string before = NowShown();
    const auto run = RunStaytally({});
    const std::string after = NowShown();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Details(run.out), (std::vector<std::string>{"emptied", "plain"}));
    const std::string shown = Lines(run.out).at(1).substr(1, 19);
    EXPECT_LE(before, shown);
    EXPECT_LE(shown, after);
}

TEST_F(GuestReportTest, FileWithoutEmailWritesThatFileOnly) {
    Activity record{Oid(0, 1), DbTimeAgo(60)};
    record.detail = "only";
    Seed({record});
    // Spelled as on the product's Windows installs; found under the machine root.
    dir_.MakeDir("root/reports");
    const std::string path = dir_.File("root/reports/guest.csv");

    const auto run = RunStaytally({"-file", "C:\\reports\\guest.csv"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string text = FileText(path);
    EXPECT_EQ(Lines(text).size(), 2u);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(Lines(text).at(0), kGuestHeader);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_TRUE(MailTasks().empty());
    EXPECT_TRUE(FilesIn(TempFolder()).empty());
}

TEST_F(GuestReportTest, EmailWithoutFileMailsATempReportWithItsSummary) {
    std::vector<Activity> records(3);
    records[0] = {Oid(0, 1), DbTimeAgo(3000), "101", 1, 1, 0};
    records[1] = {Oid(0, 2), DbTimeAgo(2000), "102", 40, 9, 3};
    records[2] = {Oid(0, 3), DbTimeAgo(1000), "101", 1, 2, 0};
    Seed(records);
    const std::string recipients = "desk@hotel.example;night@hotel.example";

    const auto run = RunStaytally({"-email", recipients});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");

    std::string reportName, bodyName;
    for (const std::string& name : FilesIn(TempFolder())) {
        (name.compare(0, 2, "GA") == 0 ? reportName : bodyName) = name;
    }
    EXPECT_TRUE(FitsPattern(reportName, "GA############.csv")) << reportName;
    EXPECT_EQ(bodyName.compare(0, 2, "gr"), 0) << bodyName;
    const std::string reportPath = TempFolder() + "/" + reportName;
    const std::string report = FileText(reportPath);
    EXPECT_EQ(Lines(report).size(), 4u);
    EXPECT_NE(report.find("\"Unknown (40)\",\"PMS\",\"Not answered\","), std::string::npos);

    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u) << Server().Documents("taskspostwick");
    const std::string& task = tasks[0];
    EXPECT_EQ(JsonString(task, "autodelete"), "1");
    EXPECT_EQ(JsonString(task, "filepath"), reportPath);
    EXPECT_EQ(JsonString(task, "emailaddress"), recipients);
    EXPECT_EQ(JsonString(task, "bodypath"), TempFolder() + "/" + bodyName);
    EXPECT_EQ(JsonMember(task, "tasktype"), "2");
    EXPECT_TRUE(FitsPattern(JsonString(task, "subject"), "Guest report for ####-##-## at ##:## *m"))
        << task;

    const std::string time = "####-##-## ##:## *m";
    const std::string body = FileText(TempFolder() + "/" + bodyName);
    EXPECT_TRUE(FitsPattern(body, "Hotel Meridian\r\n\r\nStart: " + time + "\r\nEnd: " + time +
                                      "\r\nRows: 3\r\n"
                                      "\r\nActivity:\r\nMWI on: 2\r\nUnknown (40): 1\r\n"
                                      "\r\nMethod:\r\nTelephone: 1\r\nSerial: 1\r\nPMS: 1\r\n"
                                      "\r\nResults:\r\nSuccess: 2\r\nNot answered: 1\r\n\n"))
        << body;
}

TEST_F(GuestReportTest, EmailAndFileKeepTheGivenFile) {
    Seed({{Oid(0, 1), DbTimeAgo(60)}});
    const std::string path = dir_.File("kept.csv");

    const auto run = RunStaytally({"-email", "desk@hotel.example", "~file", path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(FileText(path)).size(), 2u);
    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(JsonString(tasks[0], "filepath"), path);
    EXPECT_EQ(JsonMember(tasks[0], "autodelete"), "");
    // Only the mail body is made in the temp folder.
    const std::vector<std::string> made = FilesIn(TempFolder());
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].compare(0, 2, "gr"), 0);
}

TEST_F(GuestReportTest, EmptyWindowMailSaysNoRowsAndHasNoSections) {
    const auto run = RunStaytally({"-email", "desk@hotel.example", "~file", dir_.File("r.csv")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u);
    const std::string body = FileText(JsonString(tasks[0], "bodypath"));
    EXPECT_NE(body.find("\r\nRows: 0\r\n\n"), std::string::npos) << body;
    EXPECT_EQ(body.find("Activity"), std::string::npos) << body;
}

class TranslatedGuestReportTest : public GuestReportTest {
protected:
    void Translate(const std::string& strings) {
        dir_.Write("registry.reg",
                   "Windows Registry Editor Version 5.00\r\n\r\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                   "qxreports]\r\n\"InstallLocation\"=\"C:\\\\qx\"\r\n");
        dir_.Write("root/qx/reportstrings.ini", "[STRINGS]\r\n" + strings);
    }
};

TEST_F(TranslatedGuestReportTest, LabelFileReplacesTitlesAndNamesButNotValues) {
    Translate("Room=Zimmer\r\nMWI on=Lampe an\r\nUnknown (40)=Nie\r\nroom=kleines zimmer\r\n");
    std::vector<Activity> records(2);
    records[0] = {Oid(0, 1), DbTimeAgo(200), "101", 1};
    records[1] = {Oid(0, 2), DbTimeAgo(100), "101", 40};
    Seed(records);

    const auto run = RunStaytally({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0],
              "\"Timestamp\",\"Mailbox\",\"Zimmer\",\"Tenant\",\"Activity\",\"Method\",\"Result\","
              "\"Detail\",\"Who\",\"To From\",\"Line\",");
    EXPECT_NE(lines[1].find(",\"101\",\"101A\",\"Main\",\"Lampe an\","), std::string::npos);
    EXPECT_NE(lines[2].find(",\"Unknown (40)\","), std::string::npos);
}

// A tenant name and a label replacement may hold double quotes; a CSV
// reader must still find the fields.
TEST_F(TranslatedGuestReportTest, QuotesInsideFieldsAreDoubled) {
    Translate("Tenant=Mieter \"Haus\"\r\n");
    Server().Seed("tenant", "[{\"_id\": \"3\", \"name\": \"Garden \\\"East\\\" Wing\"}]");
    Server().Seed("mailbox", "[" + MailboxJson("103", "103", "3") + "]");
    Seed({{Oid(0, 1), DbTimeAgo(60), "103"}});

    const auto run = RunStaytally({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_NE(lines[0].find(",\"Room\",\"Mieter \"\"Haus\"\"\",\"Activity\","), std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find(",\"103\",\"103\",\"Garden \"\"East\"\" Wing\",\"MWI on\","),
              std::string::npos)
        << lines[1];
}

}  // namespace
