#include "reportframe/ReportProgram.h"

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <Poco/Exception.h>
#include <gtest/gtest.h>

#include "reportframe/ReportFailure.h"
#include "reportframe/ReportStrings.h"
#include "support/EnvironmentScope.h"
#include "support/TempDir.h"

namespace {

struct BuilderCall {
    int hours;
    std::string emailList;
    std::string filePath;
    bool operator==(const BuilderCall& other) const {
        return hours == other.hours && emailList == other.emailList && filePath == other.filePath;
    }
};

std::vector<BuilderCall> calls;
std::string seenRoomLabel;
void (*failWith)() = nullptr;

void RecordingBuilder(int hours, const std::string& emailList, const std::string& filePath) {
    calls.push_back({hours, emailList, filePath});
    seenRoomLabel = GetReportString("Room");
    if (failWith != nullptr) {
        failWith();
    }
}

const ReportProgram Program{"testtally", "\r\nTest report.\r\n", RecordingBuilder};

struct RunOutcome {
    int exitCode;
    std::string out;
    std::string err;
};

RunOutcome RunWith(std::vector<std::string> args) {
    std::vector<char*> argv{const_cast<char*>("testtally")};
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    const int exitCode = RunReportProgram(Program, static_cast<int>(args.size() + 1), argv.data());
    std::string out = ::testing::internal::GetCapturedStdout();
    std::string err = ::testing::internal::GetCapturedStderr();
    return {exitCode, out, err};
}

class ReportProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        failWith = nullptr;
    }
    void TearDown() override { std::cout.clear(); }
};

TEST_F(ReportProgramTest, HandsTheOptionsToTheBuilderOnce) {
    struct Case {
        std::vector<std::string> args;
        BuilderCall expected;
    };
    const Case cases[] = {
        {{}, {24, "", ""}},
        {{"-hours", "5", "-email", "a@x.com;b@y.com", "-file", "c:\\r.csv"},
         {5, "a@x.com;b@y.com", "c:\\r.csv"}},
        {{"/Hours", "12", "~FILE", "/tmp/r.csv"}, {12, "", "/tmp/r.csv"}},
        {{"-hours", "2", "-hours", "8", "-file", "a", "-file", "b"}, {2, "", "a"}},
        {{"-file"}, {24, "", ""}},
        {{"-email", "-file", "r.csv"}, {24, "", "r.csv"}},
        {{"-file", "~x"}, {24, "", "~x"}},
        {{"?"}, {24, "", ""}},  // no marker: ignored, the report runs
        {{"-email", " a@x.com ", "-file", " r.csv"}, {24, " a@x.com ", " r.csv"}},
        {{"-other", "1", "-x"}, {24, "", ""}},
    };
    for (const Case& c : cases) {
        calls.clear();
        const RunOutcome run = RunWith(c.args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.err, "");
        ASSERT_EQ(calls.size(), 1u) << ::testing::PrintToString(c.args);
        EXPECT_EQ(calls[0], c.expected)
            << ::testing::PrintToString(c.args) << " gave " << calls[0].hours << " '"
            << calls[0].emailList << "' '" << calls[0].filePath << "'";
    }
}

TEST_F(ReportProgramTest, ReadsHoursLikeAtolWithDefaultAndLimit) {
    const std::pair<std::vector<std::string>, int> cases[] = {
        {{"-hours", "5x"}, 5},
        {{"-hours", "1.5"}, 1},
        {{"-hours", "0"}, 24},
        {{"~hours", "-3"}, 24},
        {{"-hours", "-3"}, 24},  // -3 is an option of its own
        {{"-hours", "abc"}, 24},
        {{"-hours", ""}, 24},
        {{"-hours", "  7"}, 7},
        {{"-hours", "+7"}, 7},
        {{"-hours", "1"}, 1},
        {{"-hours", "1193046"}, kMaxReportHours},
        {{"-hours", "1193047"}, kMaxReportHours},
        {{"-hours", "2147483648"}, kMaxReportHours},
        {{"-hours", "99999999999"}, kMaxReportHours},
        {{"-hours", "99999999999999999999999999"}, kMaxReportHours},
        {{"~hours", "-99999999999"}, 24},
        {{"~hours", "-99999999999999999999999999"}, 24},
    };
    for (const auto& [args, hours] : cases) {
        calls.clear();
        EXPECT_EQ(RunWith(args).exitCode, 0);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].hours, hours) << args[1];
    }
    // The longest window still fits the seconds of a time span.
    EXPECT_LE(static_cast<unsigned long long>(kMaxReportHours) * 3600u, 0xFFFFFFFFull);
    EXPECT_GT(static_cast<unsigned long long>(kMaxReportHours + 1) * 3600u, 0xFFFFFFFFull);
}

TEST_F(ReportProgramTest, PrintsUsageWithoutRunningTheBuilder) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-?"}, {"/?"}, {"-hours", "5", "~?", "x"}}) {
        calls.clear();
        const RunOutcome run = RunWith(args);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(calls.empty());
        EXPECT_EQ(run.out.rfind("Corvane Quorix\r\nTESTTALLY Version: 8.0.32 Built: Apr 11 "
                                "2024\r\n\n\r\nTest report.\r\n\n",
                                0),
                  0u)
            << run.out;
        EXPECT_NE(run.out.find("\n  testtally > \"c:\\test.csv\"\n"), std::string::npos);
    }
}

TEST_F(ReportProgramTest, LoadsTheLabelTableForAReportOnly) {
    TESTSUPPORT::TempDir root;
    root.Write("vs/reportstrings.ini", "[STRINGS]\r\nRoom=Zimmer\r\n");
    TESTSUPPORT::EnvironmentScope noRegistry("QUORIX_REGISTRY", root.File("none.reg"));
    TESTSUPPORT::EnvironmentScope driveC("QUORIX_ROOT", root.Path());
    ReportStrings.clear();

    RunWith({"-?"});
    EXPECT_TRUE(ReportStrings.empty());
    RunWith({"-hours", "1"});
    EXPECT_EQ(seenRoomLabel, "Zimmer");
    ReportStrings.clear();
}

TEST_F(ReportProgramTest, EndsAFailedReportWithOneLineAndExitCodeOne) {
    struct Case {
        void (*fail)();
        const char* line;
    };
    const Case cases[] = {
        {[] { throw ReportFailure("cannot open report file /x/r.csv"); },
         "testtally: cannot open report file /x/r.csv\n"},
        {[] { throw std::runtime_error("no connection"); }, "testtally: no connection\n"},
        {[] { throw Poco::IOException("Connection refused"); },
         "testtally: I/O error: Connection refused\n"},
        {[] { throw 42; }, "testtally: unknown failure\n"},
        {[] { std::cout.setstate(std::ios::badbit); },
         "testtally: cannot write to standard output\n"},
    };
    for (const Case& c : cases) {
        failWith = c.fail;
        const RunOutcome run = RunWith({"-hours", "3"});
        std::cout.clear();
        EXPECT_EQ(run.exitCode, 1) << c.line;
        EXPECT_EQ(run.err, c.line);
        EXPECT_EQ(calls.size(), 1u);
        calls.clear();
    }
}

}  // namespace
