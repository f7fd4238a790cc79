#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zmq.h>

#include "DataLocationRegistry.h"
#include "MessagingFixture.h"
#include "runtime/LogsControl.h"
#include "runtime/TraceText.h"
#include "runtime/ZBase.h"
#include "runtime/ZContext.h"
#include "runtime/ZPushService.h"
#include "runtime/ZPushServiceSocket.h"
#include "support/EnvironmentScope.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

namespace {

using QXUTIL::ZEROMQ::ZContext;
using QXUTIL::ZEROMQ::ZPushService;

// The collector's port is fixed, so the forwarding is watched from a copy
// of this binary that runs in a network of its own: the case below.
TEST(TraceForwardingTest, TheWriterForwardsEveryLineItWritesToTheCollectorPort) {
    char self[PATH_MAX] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    TESTSUPPORT::ProgramOptions options;
    options.ownNetwork = true;
    options.timeoutSeconds = 60;
    TESTSUPPORT::ProgramResult run;
    try {
        run = TESTSUPPORT::RunProgram(
            self,
            {"--gtest_filter=TraceForwardingInOwnNetwork.*", "--gtest_also_run_disabled_tests"},
            options);
    } catch (const std::runtime_error& error) {
        GTEST_SKIP() << "this machine gives the test no network of its own: " << error.what();
    }
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("[  PASSED  ] 1 test."), std::string::npos) << run.out << run.err;
}

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start + 2));
        start = end + 2;
    }
    return lines;
}

// Run only by the case above, in its own network, where 127.0.0.1:10001 is
// this process's to bind. A controller of identity 7 writes LINE007.ltt in
// the data folder and forwards each of its trace lines; the marker lines of
// the file are no trace lines and are not forwarded.
class TraceForwardingInOwnNetwork : public MessagingTest {
protected:
    TESTSUPPORT::TempDir dir_;
    TESTSUPPORT::EnvironmentScope root_{"QUORIX_ROOT", dir_.Path()};
    TESTSUPPORT::EnvironmentScope registry_{
        "QUORIX_REGISTRY",
        dir_.Write("registry.reg", KeldenKeyExport(DataLocationLine("C:\\data")))};
};

TEST_F(TraceForwardingInOwnNetwork, DISABLED_EveryWrittenLineArrivesAndTheSocketGoesWithTheWriter) {
    dir_.MakeDir("data/TRACELOGS");
    QXUTIL::ZEROMQ::ZBase collector;
    ASSERT_EQ(LogsControl::ForwardEndpoint(), "tcp://127.0.0.1:10001");
    ASSERT_EQ(collector.Bind(LogsControl::ForwardEndpoint(), ZMQ_PULL), 0)
        << collector.LastErrorText();

    std::vector<std::string> forwarded;
    {
        LogsControl control;
        for (int i = 0; i < 5; ++i) {
            control.Queue().PushBack(ThreadLogData(7, 88, 3104, "2024/04/11-09:05:07:042", 3,
                                                   "line " + std::to_string(i)));
        }
        while (forwarded.size() < 5) {
            forwarded.push_back(collector.ReceiveString(5000));
            ASSERT_FALSE(forwarded.back().empty())
                << "line " << forwarded.size() - 1 << " did not arrive";
        }
        control.Stop();
        EXPECT_EQ(ZPushService::Sockets.count(LogsControl::ForwardEndpoint()), 0u);
        EXPECT_EQ(ZContext::OpenSocketCount.load(), openBefore_ + 1)
            << "only the collector's is open";
    }
    EXPECT_EQ(collector.ReceiveString(200), "") << "nothing more";

    const std::vector<std::string> lines = CrLfLines(dir_.Read("data/TRACELOGS/LINE007.ltt"));
    ASSERT_EQ(lines.size(), 7u) << "opening line, five trace lines, closing line";
    for (int i = 0; i < 5; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i) + 1];
        EXPECT_EQ(line, FormatTraceLine("LINE007", 3104, 88, "2024/04/11-09:05:07:042", 3,
                                        "line " + std::to_string(i)));
        EXPECT_EQ(forwarded[static_cast<std::size_t>(i)], FormatForwardText(7, line));
    }
    EXPECT_EQ(forwarded[0].substr(0, 11), " 3~     7~ ");
    collector.Close();
}

}  // namespace
