// What the wake-up report does where a run can go wrong: no database, a
// database that fails in mid-read, many events in one window, and a link
// planted under the report's predictable name, which the run passes by.

#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WakeupFixture.h"
#include "runtime/TimeText.h"

namespace {

class WakeupReportSafetyTest : public WakeupTest {};

TEST_F(WakeupReportSafetyTest, NoDatabaseGivesTheHeaderAndOneFailureLine) {
    Server().StopListening();
    const auto run = Run({});
    Server().StartListening();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.out, std::string(kWakeupHeader) + "\n");
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_EQ(run.err.rfind("dawntally: cannot reach the database: Connection refused", 0), 0u)
        << run.err;
}

TEST_F(WakeupReportSafetyTest, ConnectionLostInMidReadEndsTheRunWithADatabaseError) {
    Seed({{Oid(1), DbTimeAgo(60), "wu-1", ""}});
    Server().CloseConnectionMidReply("wakeuplog");
    const auto run = Run({});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_EQ(run.err.rfind("dawntally: database error: ", 0), 0u) << run.err;
}

// Each event is read and dropped before the next, so however many there are
// the run borrows one connection and keeps reusing it.
TEST_F(WakeupReportSafetyTest, ManyEventsShareOneConnection) {
    constexpr int kEvents = 2000;
    std::vector<Event> events;
    for (int i = 0; i < kEvents; ++i) {
        events.push_back({Oid(i + 1), DbTimeAgo(kEvents - i), "wu-" + std::to_string(i),
                          R"("action": 2, "result": 1, "mailbox": "101")"});
    }
    Seed(events);
    const std::vector<std::string> lines = ReportLines();
    ASSERT_EQ(lines.size(), kEvents + 1u);
    EXPECT_NE(lines.back().find(",\"wu-" + std::to_string(kEvents - 1) + "\","), std::string::npos)
        << lines.back();
    EXPECT_EQ(Server().AcceptedConnections(), 1);
}

TEST_F(WakeupReportSafetyTest, PlantedLinkUnderTheReportNameIsPassedBy) {
    Seed({{Oid(1), DbTimeAgo(60), "wu-1", ""}});
    const std::string victim = dir_.Write("victim.txt", "keep me\n");
    const DateTime now = DateTime::Now();
    for (const DateTime& at : {now, TimeAgo(-60)}) {
        const std::string link = TempFolder() + "/" + FormatDateTime(at, "WU%Y%m%d%H%M.csv");
        ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0) << link;
    }

    const auto run = Run({"-email", "desk@hotel.example"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(dir_.Read("victim.txt"), "keep me\n");
    const std::vector<std::string> tasks = MailTasks();
    ASSERT_EQ(tasks.size(), 1u) << Server().Documents("taskspostwick");
    const std::string path = JsonString(tasks[0], "filepath");
    EXPECT_EQ(DigitsAsNines(path.substr(TempFolder().size())), "/WU999999999999-9.csv") << path;
    EXPECT_EQ(path.substr(path.size() - 6), "-2.csv") << path;
    EXPECT_EQ(Lines(dir_.Read(path.substr(dir_.Path().size() + 1))).size(), 2u);
}

}  // namespace
