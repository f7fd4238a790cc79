#include "runtime/LogsControl.h"

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "runtime/TraceModuleTable.h"
#include "runtime/ZPushService.h"
#include "support/StdoutCapture.h"

namespace {

using Clock = std::chrono::steady_clock;

ThreadLogData Item(std::uint32_t logId, const std::string& message) {
    return ThreadLogData(logId, 88, 3104, "2024/04/11-09:05:07:042", 3, message);
}

TEST(LogsControlTest, RegisterLogNamesEachIdentity) {
    const struct {
        std::uint32_t logId;
        std::string name;
        std::string logName;
    } cases[] = {
        {5, "", "LINE005"},           {7, "", "LINE007"},           {999, "", "LINE999"},
        {5, "ROUTER", "ROUTER-005"},  {42, "ROUTER", "ROUTER-042"}, {1000, "", "STAYTALLY"},
        {1001, "", "RELAYTALLY"},     {1002, "", "DAWNTALLY"},      {1000, "MINE", "MINE"},
        {1100, "", "HOSTEL1"},        {1150, "", "HOSTEL51"},       {1199, "", "HOSTEL100"},
        {1200, "", "PMS1"},           {1299, "", "PMS100"},         {1100, "ROUTER", "ROUTER"},
        {1300, "", "PMSLINK"},        {1099, "", "LOG1099"},        {4000, "", "LOG4000"},
        {4294967295u, "", "UNKNOWN"},
    };
    for (const auto& c : cases) {
        LogsControl control;
        EXPECT_TRUE(control.RegisterLog(c.logId, c.name)) << c.logId;
        EXPECT_EQ(control.LogName(c.logId), c.logName) << c.logId << " " << c.name;
    }
}

TEST(LogsControlTest, IdentityZeroRegistersNothing) {
    LogsControl control;
    EXPECT_FALSE(control.RegisterLog(0, "ROUTER"));
    EXPECT_EQ(control.LogName(0), "");
}

TEST(LogsControlTest, ARegisteredIdentityKeepsItsFirstLog) {
    LogsControl control;
    ASSERT_TRUE(control.RegisterLog(7, "FIRST"));
    EXPECT_TRUE(control.RegisterLog(7, "SECOND"));
    EXPECT_EQ(control.LogName(7), "FIRST-007");
    ASSERT_TRUE(control.RegisterLog(1300, ""));
    EXPECT_TRUE(control.RegisterLog(1300, "OTHER"));
    EXPECT_EQ(control.LogName(1300), "PMSLINK");
}

TEST(LogsControlTest, TraceModuleTableEndsWithTheAllBitsRowAndHasUniqueIdentities) {
    ASSERT_GT(kTraceModuleTableSize, 3u);
    EXPECT_EQ(TraceModuleTable[kTraceModuleTableSize - 1].identity, 0xFFFFFFFFu);
    for (std::size_t i = 0; i < kTraceModuleTableSize; ++i) {
        const auto& row = TraceModuleTable[i];
        EXPECT_GE(row.identity, 1000u) << row.key;
        EXPECT_FALSE(row.identity >= 1100 && row.identity <= 1299)
            << row.key << " hides HOSTEL/PMS";
        EXPECT_LE(row.category, 8u) << row.key;
        EXPECT_LT(std::string(row.key).size(), 20u);
        for (std::size_t j = i + 1; j < kTraceModuleTableSize; ++j) {
            EXPECT_NE(row.identity, TraceModuleTable[j].identity) << row.key;
        }
    }
}

TEST(LogsControlTest, StopWithAnIdleWriterReturnsAtOnce) {
    LogsControl control;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the writer is in its long wait
    const auto start = Clock::now();
    control.Stop();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    control.Stop();  // a second stop finds nothing to join
}

TEST(LogsControlTest, Of150QueuedItemsABatchTakes100AndTheNextTheRest) {
    TESTSUPPORT::StdoutCapture output;
    LogsControl control;
    control.Stop();
    control.SetConsoleEcho(true);
    ASSERT_TRUE(control.RegisterLog(7, ""));
    for (int i = 0; i < 150; ++i) {
        control.Queue().PushBack(Item(7, "item " + std::to_string(i)));
    }
    QXUTIL::ZEROMQ::ZPushService messaging;
    EXPECT_EQ(control.WriterTurn(messaging), 100u);
    EXPECT_EQ(control.WriterTurn(messaging), 50u);
    EXPECT_EQ(control.Queue().Pop(0, Item(0, "none")).message, "none");

    std::string expected;
    for (int i = 0; i < 150; ++i) {
        expected += "LINE007 2024/04/11-09:05:07:042 item " + std::to_string(i) + "\r\n";
    }
    EXPECT_EQ(output.Text(), expected);
}

TEST(LogsControlTest, ABatchEndsOnAnItemOfIdentityZero) {
    TESTSUPPORT::StdoutCapture output;
    LogsControl control;
    control.Stop();
    control.SetConsoleEcho(true);
    control.Queue().PushBack(Item(7, "a"));
    control.Queue().PushBack(Item(0, "zero"));
    control.Queue().PushBack(Item(1100, "b"));
    QXUTIL::ZEROMQ::ZPushService messaging;
    EXPECT_EQ(control.WriterTurn(messaging), 1u);
    EXPECT_EQ(control.WriterTurn(messaging), 1u) << "the zero item handled nothing";
    EXPECT_EQ(output.Text(),
              "LINE007 2024/04/11-09:05:07:042 a\r\nHOSTEL1 2024/04/11-09:05:07:042 b\r\n");
    EXPECT_EQ(control.LogName(7), "LINE007") << "registered by the writer";
    EXPECT_EQ(control.LogName(0), "");
}

TEST(LogsControlTest, TheRunningWriterLosesNoItem) {
    TESTSUPPORT::StdoutCapture output;
    {
        LogsControl control;
        control.SetConsoleEcho(true);
        for (int i = 0; i < 150; ++i) {
            control.Queue().PushBack(Item(1300, "item " + std::to_string(i)));
        }
        ASSERT_TRUE(output.WaitFor(" item 149\r\n"));
    }
    std::string expected;
    for (int i = 0; i < 150; ++i) {
        expected += "PMSLINK 2024/04/11-09:05:07:042 item " + std::to_string(i) + "\r\n";
    }
    EXPECT_EQ(output.Text(), expected);
}

}  // namespace
