#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/ProgramRun.h"

namespace {

using TESTSUPPORT::ProgramResult;
using TESTSUPPORT::RunProgram;

const std::string kCommonLines =
    "-hours    Number of hours to report on. Default is 24.\n"
    "-email    Optional email addresses to send report to. Quorix must be enabled for Postwick. "
    "Seperate email "
    "addresses by a ;\n"
    "-file     Optional file to write the report to. If file is specified along with email address "
    "file will not be "
    "automatically deleted after being sent.\n"
    "\r\nExamples\n";

std::string Examples(const std::string& name) {
    return "  " + name + " -hours 5 -email frontdesk@example.com;manager@example.com\n" + "  " +
           name + " -file \"c:\\temp\\report.csv\" -email manager@example.com\n" + "  " + name +
           " > \"c:\\test.csv\"\n";
}

struct ExpectedUsage {
    const char* path;
    std::string usage;
};

const ExpectedUsage kPrograms[] = {
    {QX_STAYTALLY_PATH,
     "Corvane Quorix\r\nSTAYTALLY Version: 8.0.32 Built: Apr 11 2024\r\n\n"
     "\r\nGenerates report of all guest activity as a CSV file. If no arguments are given report "
     "defaults to "
     "console.\r\nTypically should be run as an automatted report via Windows Task Manager.\r\n\n" +
         kCommonLines + Examples("staytally")},
    {QX_RELAYTALLY_PATH,
     "Corvane Quorix\r\nRELAYTALLY Version: 8.0.32 Built: Apr 11 2024\r\n\n"
     "\r\nGenerates report of all message delivery activity as a CSV file. If no arguments are "
     "given report "
     "defaults to console.\r\nTypically should be run as an automatted report via Windows Task "
     "Manager.\r\n\n" +
         kCommonLines + Examples("relaytally")},
    {QX_DAWNTALLY_PATH,
     "Corvane Quorix\r\nDAWNTALLY Version: 8.0.32 Built: Apr 11 2024\r\n\n"
     "\r\nGenerates wakeup call reports as CSV file. If no arguments are given report defaults to "
     "console.\r\n"
     "Typically should be run as an automatted report via Windows Task Manager.\r\n\n" +
         kCommonLines + Examples("dawntally")},
};

TEST(ProgramUsage, PrintsBannerAndUsageByteForByte) {
    const std::vector<std::vector<std::string>> argumentLists = {
        {"-?"}, {"/?"}, {"-hours", "5", "-?"}, {"~?", "-file"}, {"-?", "-hours", "99999999999"}};
    for (const ExpectedUsage& program : kPrograms) {
        for (const auto& args : argumentLists) {
            const ProgramResult result = RunProgram(program.path, args);
            EXPECT_EQ(result.exitCode, 0) << program.path;
            EXPECT_EQ(result.out, program.usage)
                << program.path << " " << ::testing::PrintToString(args);
            EXPECT_EQ(result.err, "") << program.path;
        }
    }
}

}  // namespace
