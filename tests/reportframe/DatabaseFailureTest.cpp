// A database that refuses, stalls or trickles makes every program's run fail
// visibly: exit code 1 and one line on standard error naming the cause in
// the server's own words, never an empty report with exit code 0, and no
// mail sender woken for a task that was not stored.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dbaccess/DatabaseTimeLimits.h"
#include "runtime/DateTime.h"
#include "runtime/TimeSpan.h"
#include "runtime/TimeText.h"
#include "support/FolderFiles.h"
#include "support/ProgramRun.h"
#include "support/SendQueue.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

namespace {

using Clock = std::chrono::steady_clock;
using TESTSUPPORT::ProgramResult;
using TESTSUPPORT::TestServer;

struct Program {
    const char* name;
    const char* path;
};

const Program kStaytally = {"staytally", QX_STAYTALLY_PATH};
const Program kRelaytally = {"relaytally", QX_RELAYTALLY_PATH};
const Program kDawntally = {"dawntally", QX_DAWNTALLY_PATH};

std::string MinutesAgo(int minutes) {
    DateTime time = DateTime::Now();
    time.Subtract(TimeSpan{static_cast<std::uint32_t>(minutes) * 60u, 0});
    return FormatDbTimestamp(time);
}

std::string Refusal(const std::string& collection) {
    return "not authorized on kelden to execute command { find: \"" + collection + "\" }";
}

// A hotel with one guest mailbox and, in the last hour, one record for each
// program; every run gets its own temp folder, machine root and (absent)
// registry file.
class DatabaseFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        Server().Reset();
        Server().Seed("tenant", R"([{"_id": "1", "name": "Main"}])");
        Server().Seed(
            "mailbox",
            R"([{"_id": "101", "type": 5, "tenantid": "1", "room": {"roomid": "101A"}}])");
        Server().Seed("config", R"([{"_id": "siteinfo", "sitename": "Hotel Meridian"}])");
        Server().Seed("recording", R"([{"_id": "r7", "number": 7, "name": "Lobby"}])");
        Seed("reportmbactivity", 1);
        Server().Seed("mdsactivity",
                      R"([{"_id": "d1", "timestamp": ")" + MinutesAgo(30) +
                          R"(", "activity": [{"activity": 1, "mailbox": "101", "timestamp": ")" +
                          MinutesAgo(30) + R"("}]}])");
        Server().Seed("wakeuplog",
                      R"([{"_id": {"$oid": "65f1000000000000000000c1"}, "timestamp": ")" +
                          MinutesAgo(30) + R"(", "wakeupid": "wu-1", "mailbox": "101"}])");
        dir_.MakeDir("tmp");
        dir_.MakeDir("root");
    }

    static TestServer& Server() { return TestServer::Get(); }

    // count guest activity records of mailbox 101 in the last hours, their
    // ids counting up from first.
    static void Seed(const std::string& collection, int count, int first = 1) {
        std::string json = "[";
        for (int i = 0; i < count; ++i) {
            char id[25];
            std::snprintf(id, sizeof id, "65f1%020x", first + i);
            json += std::string(i ? ", " : "") + R"({"_id": {"$oid": ")" + id +
                    R"("}, "timestamp": ")" + MinutesAgo(1 + i % 600) +
                    R"(", "mailbox": "101", "activity": 1})";
        }
        Server().Seed(collection, json + "]");
    }

    ProgramResult Run(const Program& program, const std::vector<std::string>& args,
                      double* seconds = nullptr) const {
        TESTSUPPORT::ProgramOptions options;
        options.environment["TMPDIR"] = dir_.Path() + "/tmp";
        options.environment["QUORIX_ROOT"] = dir_.Path() + "/root";
        options.environment["QUORIX_REGISTRY"] = dir_.File("registry.reg");
        const Clock::time_point start = Clock::now();
        ProgramResult result = TESTSUPPORT::RunProgram(program.path, args, options);
        if (seconds != nullptr)
            *seconds = std::chrono::duration<double>(Clock::now() - start).count();
        return result;
    }

    std::vector<std::string> MailArgs() const {
        return {"-email", "desk@hotel.example", "~file", dir_.File("report.csv")};
    }

    TESTSUPPORT::TempDir dir_;
};

TEST_F(DatabaseFailureTest, EachProgramEndsWithTheServersRefusalOfItsReads) {
    const struct Case {
        Program program;
        const char* collection;
    } cases[] = {
        {kStaytally, "reportmbactivity"}, {kStaytally, "mailbox"},    {kStaytally, "tenant"},
        {kRelaytally, "mdsactivity"},     {kRelaytally, "recording"}, {kDawntally, "wakeuplog"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.program.name) + " refused " + c.collection);
        Server().FailNextQuery(c.collection, Refusal(c.collection), 13);
        const ProgramResult run = Run(c.program, {});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string(c.program.name) +
                               ": database error: Refused by the database: kelden." + c.collection +
                               ": " + Refusal(c.collection) + " (code 13)\n");
    }
}

TEST_F(DatabaseFailureTest, RefusedLaterBatchEndsTheRunInsteadOfCuttingTheReportShort) {
    Seed("reportmbactivity", 150, 2);  // more than the first batch of 101
    Server().FailNextGetMore("reportmbactivity", "operation was interrupted", 11601);
    const ProgramResult run = Run(kStaytally, {});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(
        run.err,
        "staytally: database error: Refused by the database: kelden.reportmbactivity: operation "
        "was interrupted (code 11601)\n");
}

TEST_F(DatabaseFailureTest, MailStepTheDatabaseFailsEndsTheRunAndLeavesTheSenderAsleep) {
    const std::string unconfirmed =
        "staytally: cannot store the mail task: the write was not confirmed: ";
    // The insert went out before its check failed.
    const std::string kept = "; the task may have been stored (its report " +
                             dir_.File("report.csv") + " stays; the mail sender was not woken)\n";
    const struct Case {
        const char* what;
        std::function<void()> fault;
        std::string err;
    } cases[] = {
        {"check refused", [] { TestServer::Get().FailNextQuery("$cmd", "not master", 10107); },
         unconfirmed + "not master (code 10107)" + kept},
        {"check answered without a document",
         [] { TestServer::Get().AnswerNextWithoutDocuments("$cmd"); },
         unconfirmed + "getLastError gave no answer" + kept},
        {"check failed as a command",
         [] { TestServer::Get().FailNextCommand("$cmd", "no write concern", 100); },
         unconfirmed + "no write concern (code 100)" + kept},
        {"site information refused",
         [] { TestServer::Get().FailNextQuery("config", Refusal("config"), 13); },
         "staytally: cannot read the site information: Refused by the database: kelden.config: " +
             Refusal("config") + " (code 13)\n"},
    };
    TESTSUPPORT::SendQueue queue;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.fault();
        const ProgramResult run = Run(kStaytally, MailArgs());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(queue.Count(), 0);
    }
    // Without a fault the same run wakes the sender once.
    const ProgramResult run = Run(kStaytally, MailArgs());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(queue.Count(), 1);
}

// Each read of each program (a search, a read by id or number, the site
// information of the mail step) that gets a malformed reply ends the run:
// exit code 1, one line naming the collection and what was wrong, and no
// report, mail body or mail task left behind.
TEST_F(DatabaseFailureTest, EveryReadEndsTheRunOnAMalformedReply) {
    const std::string stay = "staytally: database error: Malformed reply: kelden.";
    const std::string relay = "relaytally: database error: Malformed reply: kelden.";
    const std::string dawn = "dawntally: database error: Malformed reply: kelden.";
    const char* const opMsg = "a message of operation 2013 instead of a reply";
    const struct Case {
        Program program;
        const char* collection;
        int pass;  // replies to the collection's queries sent as they are first
        const char* how;
        std::string err;
    } cases[] = {
        // staytally's read of one mailbox by number, the second query on
        // "mailbox", in every way.
        {kStaytally, "mailbox", 1, "garbage", stay + "mailbox: a reply length of 1347703880 bytes"},
        {kStaytally, "mailbox", 1, "negative length", stay + "mailbox: a reply length of -1 bytes"},
        {kStaytally, "mailbox", 1, "huge length",
         stay + "mailbox: a reply length of 48000001 bytes"},
        {kStaytally, "mailbox", 1, "short", stay + "mailbox: a reply length of 20 bytes"},
        {kStaytally, "mailbox", 1, "op_msg", stay + "mailbox: " + opMsg},
        // The fifth request of the run's one connection.
        {kStaytally, "mailbox", 1, "stale",
         stay + "mailbox: a reply to request 4 instead of request 5, the one just sent"},
        // Every other read of every program, one way each.
        {kStaytally, "mailbox", 0, "op_msg", stay + "mailbox: " + opMsg},
        {kStaytally, "tenant", 0, "garbage", stay + "tenant: a reply length of 1347703880 bytes"},
        {kStaytally, "reportmbactivity", 0, "short",
         stay + "reportmbactivity: a reply length of 20 bytes"},
        {kStaytally, "reportmbactivity", 1, "op_msg", stay + "reportmbactivity: " + opMsg},
        {kStaytally, "config", 0, "op_msg",
         "staytally: cannot read the site information: Malformed reply: kelden.config: " +
             std::string(opMsg)},
        {kRelaytally, "recording", 0, "negative length",
         relay + "recording: a reply length of -1 bytes"},
        {kRelaytally, "recording", 1, "op_msg", relay + "recording: " + opMsg},
        {kRelaytally, "mdsactivity", 0, "huge length",
         relay + "mdsactivity: a reply length of 48000001 bytes"},
        {kRelaytally, "mdsactivity", 1, "stale",
         relay + "mdsactivity: a reply to request 5 instead of request 6, the one just sent"},
        {kDawntally, "wakeuplog", 0, "garbage",
         dawn + "wakeuplog: a reply length of 1347703880 bytes"},
        {kDawntally, "wakeuplog", 1, "op_msg", dawn + "wakeuplog: " + opMsg},
    };
    TESTSUPPORT::SendQueue queue;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.program.name) + " " + c.collection + " after " +
                     std::to_string(c.pass) + ": " + c.how);
        Server().MangleNextReply(c.collection, c.how, c.pass);
        const ProgramResult run = Run(c.program, MailArgs());
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, c.err + "\n");
        EXPECT_EQ(queue.Count(), 0);
        EXPECT_EQ(Server().Documents("taskspostwick"), "[]");
        EXPECT_EQ(TESTSUPPORT::FilesIn(dir_.Path()), (std::vector<std::string>{"root", "tmp"}));
        EXPECT_EQ(TESTSUPPORT::FilesIn(dir_.Path() + "/tmp"), std::vector<std::string>{});
    }
}

// A server whose cursor never ends makes the run end, at the first document
// the cursor sends a second time.
TEST_F(DatabaseFailureTest, CursorThatNeverEndsEndsTheRun) {
    Server().NeverEndCursor("reportmbactivity");
    double seconds = 0;
    const ProgramResult run = Run(kStaytally, {}, &seconds);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(
        run.err,
        "staytally: database error: Malformed reply: kelden.reportmbactivity: the cursor sent "
        "the document with \"_id\" 65f100000000000000000001 a second time\n");
    EXPECT_LT(seconds, 10.0);
}

TEST_F(DatabaseFailureTest, NewerServerIsToldApartAtOnceByItsOwnWords) {
    Server().RefuseLegacyOpcodes();
    TESTSUPPORT::SendQueue queue;
    const Program programs[] = {kStaytally, kRelaytally, kDawntally};
    for (const Program& program : programs) {
        for (const std::vector<std::string>& args : {std::vector<std::string>{}, MailArgs()}) {
            SCOPED_TRACE(std::string(program.name) + (args.empty() ? "" : " -email"));
            const ProgramResult run = Run(program, args);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(run.err.rfind(
                          std::string(program.name) +
                              ": database error: Refused by the database: kelden.mailbox: "
                              "Unsupported OP_QUERY command: find. The client driver may require "
                              "an upgrade.",
                          0),
                      0u)
                << run.err;
            EXPECT_NE(run.err.find("(code 352)\n"), std::string::npos) << run.err;
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        }
    }
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(Server().Documents("taskspostwick"), "[]");
}

// The cases that wait out the product's real time limits: labelled slow,
// each run in a process of its own.
using DatabaseFailureSlowTest = DatabaseFailureTest;

// The probe waits the connect limit once; the reads that follow find no
// database at once, so the whole run takes one wait, not one per read, and
// no mail task is tried for the empty report.
TEST_F(DatabaseFailureSlowTest, StuckServerEndsTheRunAfterOneConnectWait) {
    Server().StopAccepting();
    double seconds = 0;
    const ProgramResult run = Run(kStaytally, MailArgs(), &seconds);
    Server().StartListening();
    const std::string stuck =
        "Timed out: 127.0.0.1:27017: the connection was not accepted within " +
        std::to_string(DBACCESS::kDatabaseConnectSeconds) + " s";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "staytally: cannot reach the database: " + stuck +
                           " (the mail task could not be stored)\n");
    EXPECT_GE(seconds, DBACCESS::kDatabaseConnectSeconds - 0.5);
    EXPECT_LT(seconds, DBACCESS::kDatabaseConnectSeconds + 5.0);
}

TEST_F(DatabaseFailureSlowTest, TricklingServerEndsTheRunAtTheReplyLimit) {
    Server().TrickleNextReply("mailbox", 2.0);
    double seconds = 0;
    const ProgramResult run = Run(kStaytally, {}, &seconds);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(
        run.err,
        "staytally: database error: Timed out: kelden.mailbox: the reply was not complete within " +
            std::to_string(DBACCESS::kDatabaseReplySeconds) + " s of its start\n");
    EXPECT_GE(seconds, DBACCESS::kDatabaseReplySeconds - 0.5);
    EXPECT_LT(seconds, DBACCESS::kDatabaseReplySeconds + 5.0);
}

}  // namespace
