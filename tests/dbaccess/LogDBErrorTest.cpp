// The trace line a caught database error leaves: the failing function, the
// place in it, and the library's text.

#include "dbaccess/LogDBError.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "DbFixture.h"
#include "dbaccess/SiteInfo.h"
#include "dbaccess/TaskDB.h"
#include "runtime/LogsControl.h"
#include "runtime/Trace.h"
#include "support/StdoutCapture.h"

namespace {

// Trace items of a log of their own, echoed to standard output.
class EchoedTrace {
public:
    EchoedTrace() {
        TraceLogId = 5142;
        GlobalLogsControl.SetConsoleEcho(true);
    }
    ~EchoedTrace() {
        GlobalLogsControl.SetConsoleEcho(false);
        TraceLogId = 0;
    }
};

class LogDBErrorTest : public DbFixture {};

TEST_F(LogDBErrorTest, CaughtErrorsNameTheirFunctionAndLine) {
    struct Case {
        const char* what;
        const char* cutCollection;
        std::function<std::string()> run;  // the error text returned
        std::string line;                  // the trace line, less the error text
    } const cases[] = {
        {"site information read", "config",
         [] {
             DBACCESS::SiteInfo site;
             std::string error;
             EXPECT_EQ(site.Read(error), -47);
             return error;
         },
         " DBACCESS::SiteInfo::Read(142) DBError: "},
        {"last-error query after a task insert", "$cmd",
         [] {
             DBACCESS::TaskDB task("taskstrace");
             std::string error;
             EXPECT_EQ(task.Write(error), -46);
             return error;
         },
         " DBACCESS::TaskDB::RealWrite(542) DBError: "},
    };
    for (const Case& c : cases) {
        Server().Reset();
        Server().Seed("config", "[{\"_id\": \"siteinfo\", \"sitename\": \"Hotel\"}]");
        TESTSUPPORT::StdoutCapture output;
        EchoedTrace trace;
        Server().CloseConnectionMidReply(c.cutCollection);
        const std::string error = c.run();
        ASSERT_NE(error, "") << c.what;
        EXPECT_TRUE(output.WaitFor(c.line + error + "\r\n")) << c.what << ": " << output.Text();
    }
}

TEST_F(LogDBErrorTest, TextEndsAtItsFirstZeroByte) {
    TESTSUPPORT::StdoutCapture output;
    EchoedTrace trace;
    LogDBError("DBACCESS::TaskDB::RealWrite", 548, std::string("lost\0 tail", 10));
    TraceMessage("marker");
    ASSERT_TRUE(output.WaitFor(" marker\r\n")) << output.Text();
    const std::string text = output.Text();
    EXPECT_NE(text.find(" DBACCESS::TaskDB::RealWrite(548) DBError: lost\r\n"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("tail"), std::string::npos) << text;
}

}  // namespace
