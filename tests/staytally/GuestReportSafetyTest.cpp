// What the report does where a run can go wrong: no database, a database
// that fails in mid-read, a mail task or body that cannot be written,
// malformed record ids and many guest mailboxes in one window. What a
// failed run leaves behind: RunOutcomeTest.

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GuestFixtures.h"

namespace {

std::size_t LineCount(const std::string& text) { return Lines(text).size(); }

TEST_F(GuestReportTest, NoDatabaseGivesTheHeaderAndAFailureLine) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
        std::string err;
    } const cases[] = {
        {{}, std::string(kGuestHeader) + "\n", "staytally: cannot reach the database: *:27017\n"},
        {{"-email", "desk@hotel.example", "~file", dir_.File("r.csv")},
         "",
         "staytally: cannot reach the database: *:27017 (the mail task could not be stored)\n"},
        {{"-email", "desk@hotel.example"},
         "",
         "staytally: cannot reach the database: *:27017 (the mail task could not be stored)\n"},
        {{"~file", dir_.File("r.csv")}, "", "staytally: cannot reach the database: *:27017\n"},
    };
    Server().StopListening();
    for (const Case& c : cases) {
        const auto run = RunStaytally(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.signal, 0);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err.rfind("staytally: cannot reach the database: Connection refused", 0), 0u)
            << run.err;
        EXPECT_TRUE(FitsPattern(run.err, c.err)) << run.err;
    }
    EXPECT_TRUE(FilesIn(TempFolder()).empty());
    Server().StartListening();
    EXPECT_TRUE(MailTasks().empty());
}

TEST_F(GuestReportTest, ConnectionLostInMidReadEndsTheRunWithADatabaseError) {
    Seed({{Oid(1, 1), DbTimeAgo(60)}});
    Server().CloseConnectionMidReply("reportmbactivity");
    const auto run = RunStaytally({});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(LineCount(run.err), 1u) << run.err;
    EXPECT_EQ(run.err.rfind("staytally: database error: ", 0), 0u) << run.err;
}

TEST_F(GuestReportTest, MailTaskThatCannotBeStoredFailsTheRun) {
    Seed({{Oid(1, 1), DbTimeAgo(60)}});
    Server().CloseConnectionMidReply("$cmd");  // the write's last-error query
    const std::string path = dir_.File("r.csv");
    const auto run = RunStaytally({"~file", path, "-email", "desk@hotel.example"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(LineCount(run.err), 1u) << run.err;
    EXPECT_EQ(run.err.rfind("staytally: cannot store the mail task: ", 0), 0u) << run.err;
    // The insert went out before the check broke: the task may be stored.
    EXPECT_EQ(LineCount(dir_.Read("r.csv")), 2u) << "put in place for the task";
}

TEST_F(GuestReportTest, RecordIdsThatAreNoObjectIdsAreNotRead) {
    std::vector<Activity> records = {
        {Oid(1, 1), DbTimeAgo(300)},
        {"not-an-object-id", DbTimeAgo(200)},
        {"abc", DbTimeAgo(150)},
        {"65f1000000000000000000zz", DbTimeAgo(100)},
    };
    records[0].detail = "readable";
    Seed(records);
    const auto run = RunStaytally({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_NE(lines[1].find("\"readable\""), std::string::npos);
}

// With neither the temp folder nor the current folder to write in, the mail
// body travels in the task itself.
TEST_F(GuestReportTest, MailBodyThatCannotBeWrittenGoesInTheTask) {
    Seed({{Oid(1, 1), DbTimeAgo(60)}});
    ASSERT_EQ(::rmdir(TempFolder().c_str()), 0);
    const std::string gone = dir_.File("gone");
    const std::string path = dir_.File("r.csv");
    const auto run = RunStaytally({"-email", "desk@hotel.example", "~file", path},
                                  "mkdir " + gone + " && cd " + gone + " && rmdir " + gone);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(LineCount(dir_.Read("r.csv")), 2u);
    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u);
    const std::string time = "####-##-## ##:## *m";
    EXPECT_TRUE(FitsPattern(JsonString(tasks[0], "bodypath"),
                            "Hotel Meridian\r\n\r\nStart: " + time + "\r\nEnd: " + time +
                                "\r\nRows: 1\r\n\r\nActivity:\r\nMWI on: 1\r\n"
                                "\r\nMethod:\r\nTelephone: 1\r\n\r\nResults:\r\nSuccess: 1"))
        << tasks[0];
}

// One mailbox record is kept per distinct mailbox until the report ends; none
// may keep a pooled connection, or 3,000 of them run out of descriptors.
TEST_F(GuestReportTest, ThousandsOfGuestMailboxesUnderALowDescriptorLimit) {
    constexpr int kMailboxes = 3000;
    std::string mailboxes = "[";
    std::vector<Activity> records;
    const std::string time = DbTimeAgo(600);
    for (int i = 0; i < kMailboxes; ++i) {
        const std::string number = std::to_string(10000 + i);
        mailboxes += (i ? ", " : "") + MailboxJson(number, number + "R", i % 2 ? "1" : "2");
        records.push_back({Oid(1, i + 1), time, number});
    }
    Server().Seed("mailbox", mailboxes + "]");
    Seed(records);

    const auto run = RunStaytally({}, "ulimit -n 1024");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), kMailboxes + 1u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = CsvFieldsOf(lines[i]);
        ASSERT_EQ(fields.size(), 12u) << lines[i];
        EXPECT_EQ(fields[2], fields[1] + "R") << lines[i];
        const int number = std::stoi(fields[1]);
        EXPECT_EQ(fields[3], number % 2 ? "Main" : "Harbour Wing") << lines[i];
    }
    EXPECT_LE(Server().AcceptedConnections(), 2);
}

}  // namespace
