// The delivery report as its users get it: relaytally run against the test
// server, to the console, to a file and mailed.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RelayFixture.h"
#include "runtime/DateTime.h"
#include "runtime/TimeText.h"
#include "support/CsvLine.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

namespace {

using TESTSUPPORT::CsvFieldsOf;
using TESTSUPPORT::ProgramResult;
using TESTSUPPORT::TempDir;

const char kHeader[] =
    "\"Timestamp\",\"Created\",\"Scheduled\",\"Expiration\",\"Username\",\"Description\",\"ID\","
    "\"Urgent\",\"Recording\",\"Type\",\"Mailbox\",\"Room\",\"Name\",\"Tenant\",\"Last Activity\",";

class MessageDeliveryReportTest : public RelayFixture {
protected:
    void SetUp() override {
        RelayFixture::SetUp();
        Server().Seed("mailbox", R"([
          {"_id": "101", "type": 5, "tenantid": "1", "room": {"roomid": "101A"}},
          {"_id": "102", "type": 5, "tenantid": "9", "room": {"roomid": "102"}},
          {"_id": "104", "type": 5, "tenantid": "2", "room": {"roomid": "104"}},
          {"_id": "900", "type": 1, "tenantid": "1", "room": {"roomid": "desk"}}
        ])");
        Server().Seed("tenant", R"([{"_id": "1", "name": "Main"},
                                    {"_id": "2", "name": "The \"Annex\""}])");
        Server().Seed("recording", R"([{"_id": "r12", "number": 12, "name": "Welcome"},
                                       {"_id": "r7", "number": "7", "name": "Stored as text"}])");
        Server().Seed("config", R"([{"_id": "siteinfo", "sitename": "Hotel Meridian Bay"}])");
    }

    // A delivery with the database time text timestamp; more is the rest of
    // its document, starting with a comma.
    static std::string Delivery(const std::string& id, const std::string& timestamp,
                                const std::string& more) {
        return "{\"_id\": \"" + id + "\", \"timestamp\": \"" + timestamp + "\"" + more + "}";
    }

    ProgramResult Run(const std::vector<std::string>& args) {
        TESTSUPPORT::ProgramOptions options;
        options.environment["TMPDIR"] = tmp_.Path();
        options.environment["QUORIX_ROOT"] = root_.Path();
        options.environment["QUORIX_REGISTRY"] = root_.File("no-registry.reg");
        // A path beginning with "/" would be read as an option of its own.
        options.workDir = tmp_.Path();
        return TESTSUPPORT::RunProgram(QX_RELAYTALLY_PATH, args, options);
    }

    // The report written to a file, line by line.
    std::vector<std::string> ReportLines(const std::vector<std::string>& extraArgs = {}) {
        std::vector<std::string> args = {"-file", "report.csv"};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        const ProgramResult result = Run(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, "");
        return Lines(tmp_.Read("report.csv"));
    }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    TempDir tmp_;
    TempDir root_;
};

TEST_F(MessageDeliveryReportTest, EmptyWindowGivesTheHeaderOnlyOnTheConsole) {
    Server().Seed("mdsactivity", "[" + Delivery("old", DbTimeAgo(30 * 3600), R"(, "activity": [
        {"activity": 1, "mailbox": "101", "timestamp": "20240411090000000"}])") +
                                     "]");
    const ProgramResult result = Run({});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, std::string(kHeader) + "\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(MessageDeliveryReportTest, WindowIsTheGivenHoursBeforeTheRun) {
    const std::string entry = R"(, "activity": [
        {"activity": 1, "mailbox": "101", "timestamp": "20240411090000000"}])";
    Server().Seed("mdsactivity", "[" +
                                     Delivery("two-hours", DbTimeAgo(7200),
                                              R"(, "description": "two hours ago")" + entry) +
                                     "," +
                                     Delivery("half-hour", DbTimeAgo(1800),
                                              R"(, "description": "half an hour ago")" + entry) +
                                     "]");
    const struct {
        const char* hours;
        std::vector<std::string> descriptions;
    } cases[] = {
        {"1", {"half an hour ago"}},
        {"3", {"two hours ago", "half an hour ago"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> descriptions;
        const std::vector<std::string> lines = ReportLines({"-hours", c.hours});
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::vector<std::string> fields = CsvFieldsOf(lines[i]);
            descriptions.push_back(fields.size() == 16 ? fields[5] : lines[i]);
        }
        EXPECT_EQ(descriptions, c.descriptions) << "-hours " << c.hours;
    }
}

TEST_F(MessageDeliveryReportTest, OneRowPerActivityEntryInTimeOrder) {
    // Inserted out of time order; the two at the same time keep this order.
    const std::string tie = DbTimeAgo(3600);
    Server().Seed("mdsactivity",
                  "[" + Delivery("tie-first", tie, R"(, "text": "Towels", "type": 5, "activity": [
            {"activity": 2, "mailbox": "102", "timestamp": "20240411110000000"}])") +
                      "," + Delivery("tie-second", tie, R"(, "recid": "12", "type": 2, "activity": [
            {"activity": 0, "mailbox": "104", "timestamp": "20240411120000000"}])") +
                      "," + Delivery("three", DbTimeAgo(7200), R"(,
          "created": "20240410180000000", "deliver": "20240411080000000",
          "expiration": "20240412080000000", "creator": "frontdesk", "description": "Pool closed",
          "accountingid": "ACC-7", "urgent": true, "filepath": "C:\\msgs\\pool.wav",
          "text": "also text", "type": 0,
          "activity": [
            {"activity": 3, "mailbox": "103", "timestamp": "20240411100000000"},
            {"activity": 1, "mailbox": "101", "timestamp": "20240411090000000"},
            {"activity": 6, "mailbox": "101", "timestamp": "20240411093000000"}],
          "recipients": [
            {"activity": 1, "mailbox": "101", "name": "Ana Costa", "room": "101A"},
            {"activity": 1, "mailbox": "101", "name": "Second Name", "room": "101A"},
            {"activity": 1, "mailbox": "103", "name": "Walk In", "room": "103"}])") +
                      "]");

    const std::vector<std::string> expected = {
        kHeader,
        "\"2024-04-11 09:00:00\",\"2024-04-10 18:00:00\",\"2024-04-11 08:00:00\",\"2024-04-12 "
        "08:00:00\","
        "\"frontdesk\",\"Pool closed\",\"ACC-7\",\"Yes\",\"Message\",\"Message\",\"101\",\"101A\","
        "\"Ana Costa\",\"Main\",\"Scheduled\",",
        "\"2024-04-11 09:30:00\",\"2024-04-10 18:00:00\",\"2024-04-11 08:00:00\",\"2024-04-12 "
        "08:00:00\","
        "\"frontdesk\",\"Pool closed\",\"ACC-7\",\"Yes\",\"Message\",\"Message\",\"101\",\"101A\","
        "\"Ana Costa\",\"Main\",\"Expired\",",
        // Not in the directory: no room or tenant, the name still from the recipients.
        "\"2024-04-11 10:00:00\",\"2024-04-10 18:00:00\",\"2024-04-11 08:00:00\",\"2024-04-12 "
        "08:00:00\","
        "\"frontdesk\",\"Pool closed\",\"ACC-7\",\"Yes\",\"Message\",\"Message\",\"103\",\"\","
        "\"Walk In\",\"\",\"Listened\",",
        // Empty created and deliver repeat the time before them; no expiration, no field.
        "\"2024-04-11 11:00:00\",\"2024-04-11 11:00:00\",\"2024-04-11 11:00:00\",\"\","
        "\"\",\"\",\"\",\"No\",\"Text\",\"Unknown (5)\",\"102\",\"102\",\"\",\"\",\"Voice "
        "message\",",
        "\"2024-04-11 12:00:00\",\"2024-04-11 12:00:00\",\"2024-04-11 12:00:00\",\"\","
        "\"\",\"\",\"\",\"No\",\"Welcome (12)\",\"Checkout Message\",\"104\",\"104\",\"\","
        "\"The \"\"Annex\"\"\",\"Unknown (0)\",",
    };
    EXPECT_EQ(ReportLines(), expected);
}

TEST_F(MessageDeliveryReportTest, RecordingColumn) {
    struct Case {
        const char* what;
        const char* fields;
        const char* expected;
    } const cases[] = {
        {"voice file", R"("filepath": "C:\\m.wav")", "Message"},
        {"voice file and text", R"("filepath": "C:\\m.wav", "text": "hi")", "Message"},
        {"text", R"("text": "hi")", "Text"},
        {"stored recording", R"("recid": "12")", "Welcome (12)"},
        {"leading zeros", R"("recid": "012")", "Welcome (012)"},
        {"recording 0", R"("recid": "0")", "Zero (0)"},
        {"no such recording", R"("recid": "9")", "Recording"},
        {"beyond every number", R"("recid": "99999999999")", "Recording"},
        // No digits name no recording, not recording 0.
        {"empty recid", R"("recid": "")", "Recording"},
        {"recid of letters only", R"("recid": "none")", "Recording"},
        {"no recid", R"("type": 0)", "Recording"},
        // Listed, but its number is stored as text and so it cannot be read.
        {"recording with a text number", R"("recid": "7")", " (7)"},
    };
    for (const Case& c : cases) {
        SetUp();
        Server().Seed("recording", R"([{"_id": "r0", "number": 0, "name": "Zero"}])");
        Server().Seed("mdsactivity",
                      "[" + Delivery("d", DbTimeAgo(60), std::string(", ") + c.fields + R"(,
            "activity": [{"activity": 1, "mailbox": "101", "timestamp": "20240411090000000"}])") +
                          "]");
        const std::vector<std::string> lines = ReportLines();
        ASSERT_EQ(lines.size(), 2u) << c.what;
        EXPECT_NE(lines[1].find(",\"No\",\"" + std::string(c.expected) + "\",\"Message\","),
                  std::string::npos)
            << c.what << ": " << lines[1];
    }
}

TEST_F(MessageDeliveryReportTest, MalformedTimesCarryTheColumnBefore) {
    // Each entry is logged at 2024-04-11 09:00:00.
    struct Case {
        const char* what;
        const char* fields;
        const char* expected;  // Timestamp, Created, Scheduled, Expiration
    } const cases[] = {
        // "deliver" is taken as stored, so a leading blank makes it no time.
        {"all malformed",
         R"("created": "2024", "deliver": " 20240411083000000", "expiration": "soon")",
         "\"2024-04-11 09:00:00\",\"2024-04-11 09:00:00\",\"2024-04-11 09:00:00\","
         "\"2024-04-11 09:00:00\","},
        {"created only", R"("created": "20240410180000000", "deliver": "soon")",
         "\"2024-04-11 09:00:00\",\"2024-04-10 18:00:00\",\"2024-04-10 18:00:00\",\"\","},
        {"deliver only", R"("created": "", "deliver": "20240411083000000", "expiration": "x")",
         "\"2024-04-11 09:00:00\",\"2024-04-11 09:00:00\",\"2024-04-11 08:30:00\","
         "\"2024-04-11 08:30:00\","},
        {"expiration after a malformed deliver",
         R"("created": "20240410180000000", "deliver": "", "expiration": "20240412080000000")",
         "\"2024-04-11 09:00:00\",\"2024-04-10 18:00:00\",\"2024-04-10 18:00:00\","
         "\"2024-04-12 08:00:00\","},
    };
    for (const Case& c : cases) {
        SetUp();
        Server().Seed("mdsactivity",
                      "[" + Delivery("d", DbTimeAgo(60), std::string(", ") + c.fields + R"(,
            "activity": [{"activity": 1, "mailbox": "101", "timestamp": "20240411090000000"}])") +
                          "]");
        const std::vector<std::string> lines = ReportLines();
        ASSERT_EQ(lines.size(), 2u) << c.what;
        EXPECT_EQ(lines[1].rfind(c.expected, 0), 0u) << c.what << ": " << lines[1];
    }
}

TEST_F(MessageDeliveryReportTest, NameComesFromTheMailboxsOwnRecipientEntryOnly) {
    // Recipients sort by their mailbox text: 101, 101, 103, 1031.
    Server().Seed("mdsactivity", "[" + Delivery("d", DbTimeAgo(60), R"(,
        "activity": [
          {"activity": 1, "mailbox": "101", "timestamp": "20240411090000000"},
          {"activity": 1, "mailbox": "102", "timestamp": "20240411090100000"},
          {"activity": 1, "mailbox": "10", "timestamp": "20240411090200000"},
          {"activity": 1, "mailbox": "103", "timestamp": "20240411090300000"},
          {"activity": 1, "mailbox": "104", "timestamp": "20240411090400000"}],
        "recipients": [
          {"activity": 1, "mailbox": "1031", "name": "Suite Guest", "room": "1031"},
          {"activity": 1, "mailbox": "101", "name": "Ana Costa", "room": "101A"},
          {"activity": 1, "mailbox": "103", "name": "Walk In", "room": "103"},
          {"activity": 1, "mailbox": "101", "name": "Second Name", "room": "101A"}])") +
                                     "]");
    std::vector<std::string> names;
    for (const std::string& line : ReportLines()) {
        // Mailbox, Room, Name: the 11th to 13th fields.
        const std::vector<std::string> fields = CsvFieldsOf(line);
        names.push_back(fields.size() == 16 ? fields[10] + "|" + fields[11] + "|" + fields[12]
                                            : line);
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Mailbox|Room|Name",
                         "101|101A|Ana Costa",
                         // No entry of its own: not the next recipient's name.
                         "102|102|",
                         "10||",
                         // Not in the directory: the name all the same.
                         "103||Walk In",
                         "104|104|",
                     }));
}

TEST_F(MessageDeliveryReportTest, LabelsComeFromTheSiteTable) {
    root_.Write("vs/reportstrings.ini",
                "[STRINGS]\nYes=Oui\nLast Activity=Dernier\nScheduled=Prevu\n");
    Server().Seed("mdsactivity", "[" +
                                     Delivery("d", DbTimeAgo(60), R"(, "urgent": true, "activity": [
        {"activity": 1, "mailbox": "101", "timestamp": "20240411090000000"}])") +
                                     "]");
    const std::vector<std::string> lines = ReportLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(
        lines[0],
        "\"Timestamp\",\"Created\",\"Prevu\",\"Expiration\",\"Username\",\"Description\",\"ID\","
        "\"Urgent\",\"Recording\",\"Type\",\"Mailbox\",\"Room\",\"Name\",\"Tenant\",\"Dernier\",");
    EXPECT_NE(lines[1].find(",\"Oui\","), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find(",\"Prevu\","), std::string::npos) << lines[1];
}

TEST_F(MessageDeliveryReportTest, MailedReportWithItsActivityCounts) {
    Server().Seed("mdsactivity", "[" + Delivery("d", DbTimeAgo(60), R"(, "activity": [
        {"activity": 1, "mailbox": "101", "timestamp": "20240411090000000"},
        {"activity": 0, "mailbox": "101", "timestamp": "20240411091000000"},
        {"activity": 1, "mailbox": "102", "timestamp": "20240411092000000"},
        {"activity": 10, "mailbox": "102", "timestamp": "20240411093000000"}])") +
                                     "]");
    const ProgramResult result = Run({"-email", "desk@example.com;gm@example.com"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");

    const std::string task = Server().Documents("taskspostwick");
    auto field = [&task](const std::string& name) {
        const std::string key = "\"" + name + "\": ";
        const auto at = task.find(key);
        if (at == std::string::npos) return std::string("<none>");
        const auto start = at + key.size();
        if (task[start] != '"') return task.substr(start, task.find_first_of(",}", start) - start);
        return task.substr(start + 1, task.find('"', start + 1) - start - 1);
    };
    EXPECT_EQ(field("subject").rfind("Message Delivery report for ", 0), 0u) << task;
    EXPECT_EQ(field("emailaddress"), "desk@example.com;gm@example.com");
    EXPECT_EQ(field("autodelete"), "1") << task;
    EXPECT_EQ(field("filepath").rfind(tmp_.Path() + "/MDS", 0), 0u) << task;
    const std::string bodyPath = field("bodypath");
    ASSERT_EQ(bodyPath.rfind(tmp_.Path() + "/mds", 0), 0u) << task;

    EXPECT_EQ(Lines(tmp_.Read(field("filepath").substr(tmp_.Path().size() + 1))).size(), 5u);
    const std::vector<std::string> body = Lines(tmp_.Read(bodyPath.substr(tmp_.Path().size() + 1)));
    ASSERT_EQ(body.size(), 11u);
    EXPECT_EQ(body[0], "Hotel Meridian Bay\r");
    EXPECT_EQ(body[1], "\r");
    EXPECT_EQ(body[2].rfind("Start: ", 0), 0u);
    EXPECT_EQ(body[3].rfind("End: ", 0), 0u);
    EXPECT_EQ(body[4], "Rows: 4\r");
    EXPECT_EQ(body[5], "\r");
    EXPECT_EQ(body[6], "Activity:\r");
    EXPECT_EQ(body[7], "Unknown (0): 1\r");
    EXPECT_EQ(body[8], "Scheduled: 2\r");
    EXPECT_EQ(body[9], "Deleted by checkout: 1\r");
    EXPECT_EQ(body[10], "");
}

TEST_F(MessageDeliveryReportTest, UnreachableDatabaseIsNotSilent) {
    Server().StopListening();
    const ProgramResult result = Run({});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, std::string(kHeader) + "\n");
    EXPECT_EQ(result.err.rfind("relaytally: cannot reach the database: Connection refused", 0), 0u)
        << result.err;
}

TEST_F(MessageDeliveryReportTest, ADatabaseErrorMidReportEndsTheRunWithAMessage) {
    Server().Seed("mdsactivity", "[" + Delivery("d", DbTimeAgo(60), R"(, "activity": [
        {"activity": 1, "mailbox": "101", "timestamp": "20240411090000000"}])") +
                                     "]");
    Server().CloseConnectionMidReply("mdsactivity");
    const ProgramResult result = Run({});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.err.rfind("relaytally: database error: ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
}

TEST_F(MessageDeliveryReportTest, APlantedLinkUnderTheReportNameIsPassedBy) {
    const std::string victim = tmp_.Write("victim.txt", "precious\n");
    // The name of this minute and of the next, in case the run starts late.
    for (std::uint32_t ahead : {0u, 60u}) {
        DateTime when = DateTime::Now();
        when.value += static_cast<std::uint64_t>(ahead) * 10000000u;
        const std::string link = tmp_.File(FormatDateTime(when, "MDS%Y%m%d%H%M.csv"));
        ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0) << link;
    }
    const ProgramResult result = Run({"-email", "desk@example.com"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(tmp_.Read("victim.txt"), "precious\n");
    const std::string task = Server().Documents("taskspostwick");
    const std::string name = "\"filepath\": \"" + tmp_.Path() + "/MDS";
    const std::size_t at = task.find(name);
    ASSERT_NE(at, std::string::npos) << task;
    EXPECT_EQ(task.substr(at + name.size() + 12, 7), "-2.csv\"") << task;
}

}  // namespace
