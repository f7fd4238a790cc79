#include "runtime/Trace.h"

#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/LocalClock.h"
#include "runtime/LogsControl.h"
#include "runtime/TraceText.h"
#include "support/StdoutCapture.h"

namespace {

// Sets the trace log identity for one test.
class TraceLogIdScope {
public:
    explicit TraceLogIdScope(std::uint32_t logId) { TraceLogId = logId; }
    ~TraceLogIdScope() { TraceLogId = 0; }
};

// Console echo of the process's controller for one test.
class EchoScope {
public:
    EchoScope() { GlobalLogsControl.SetConsoleEcho(true); }
    ~EchoScope() { GlobalLogsControl.SetConsoleEcho(false); }
};

TEST(TraceTest, ItemsOfALogReachTheWriterWithThePrefixFirst) {
    TESTSUPPORT::StdoutCapture output;
    EchoScope echo;
    TraceLogIdScope logId(7);
    Trace("connect failed", "DB: ");
    TraceMessage("second");
    ASSERT_TRUE(output.WaitFor(" second\r\n"));
    const std::string text = output.Text();
    const auto first = text.find("LINE007 ");
    ASSERT_NE(first, std::string::npos) << text;
    // LINE007, the 23-character time text, the message.
    EXPECT_EQ(text.substr(first + 8 + 23, 21), " DB: connect failed\r\n") << text;
    EXPECT_LT(first, text.find(" second\r\n"));
}

TEST(TraceTest, ItemsOfIdentityZeroAndEmptyMessagesNeverAppear) {
    TESTSUPPORT::StdoutCapture output;
    EchoScope echo;
    Trace("zero", "");  // identity 0, as in the report programs
    {
        TraceLogIdScope logId(7);
        Trace("", "DB: ");
        TraceMessage("");
        TraceMessage("marker");
    }
    ASSERT_TRUE(output.WaitFor(" marker\r\n"));
    const std::string text = output.Text();
    EXPECT_EQ(text.find("zero"), std::string::npos) << text;
    EXPECT_EQ(text.find("DB: "), std::string::npos) << text;
    EXPECT_EQ(text.find("LINE007"), text.rfind("LINE007")) << "one line only: " << text;
    EXPECT_EQ(GlobalLogsControl.LogName(0), "");
}

TEST(TraceTest, ItemsCarryTheCallerAndTheLocalTime) {
    PLATFORM::CalendarTime before;
    ASSERT_TRUE(PLATFORM::ReadLocalClock(before));
    const ThreadLogData item(9, "text");
    EXPECT_EQ(item.logId, 9u);
    EXPECT_EQ(item.level, 3);
    EXPECT_EQ(item.message, "text");
    EXPECT_EQ(item.processId, static_cast<std::uint32_t>(getpid()));
    EXPECT_EQ(item.threadId, static_cast<std::uint32_t>(gettid()));
    ASSERT_EQ(item.timeText.size(), 23u);
    EXPECT_EQ(item.timeText.substr(0, 10), FormatTraceTime(before).substr(0, 10));

    const ThreadLogData empty("");
    EXPECT_EQ(empty.logId, 0u);
    EXPECT_EQ(empty.level, 0);
}

TEST(TraceTextTest, TimeTextIsZeroFilled) {
    PLATFORM::CalendarTime time;
    time.year = 2024;
    time.month = 4;
    time.day = 11;
    time.hour = 9;
    time.minute = 5;
    time.second = 7;
    time.milliseconds = 42;
    EXPECT_EQ(FormatTraceTime(time), "2024/04/11-09:05:07:042");
    time.year = 999;
    EXPECT_EQ(FormatTraceTime(time).substr(0, 5), "0999/");
}

TEST(TraceTextTest, TraceLinesAndForwardTextsByteForByte) {
    const std::string line =
        FormatTraceLine("LINE007", 3104, 88, "2024/04/11-09:05:07:042", 3, "hello");
    EXPECT_EQ(line, "LINE007 3104 0088 2024/04/11-09:05:07:042 00000003 hello\r\n");
    EXPECT_EQ(FormatForwardText(7, line), " 3~     7~ " + line);

    EXPECT_EQ(FormatTraceLine("PMS1", 123456, 7, "t", 0xFFFFFFFFu, ""),
              "PMS1 123456 0007 t FFFFFFFF \r\n")
        << "longer ids in full";
    EXPECT_EQ(FormatForwardText(4294967295u, "x"), " 3~4294967295~ x") << "wider than 6: in full";
}

}  // namespace
