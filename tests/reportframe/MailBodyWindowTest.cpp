// The window every program's mail body states: its End is the time of the
// run and its Start the given hours before it.

#include <glob.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/DateTime.h"
#include "runtime/TimeText.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"
#include "support/TestServer.h"

namespace {

const char kBodyTime[] = "%Y-%m-%d %I:%M %p";

// Minutes since 1970 of a local time written "2024-04-11 03:30 PM", counted
// without time zone, as the programs count the window; -1 when the text is
// not of that form.
long long MinutesOf(const std::string& text) {
    std::tm time{};
    int hour = 0;
    char half[3] = {};
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d %2s", &time.tm_year, &time.tm_mon,
                    &time.tm_mday, &hour, &time.tm_min, half) != 6 ||
        hour < 1 || hour > 12) {
        return -1;
    }
    const bool afternoon = (half[0] == 'P' || half[0] == 'p') && (half[1] == 'M' || half[1] == 'm');
    time.tm_year -= 1900;
    time.tm_mon -= 1;
    time.tm_hour = hour % 12 + (afternoon ? 12 : 0);
    return static_cast<long long>(timegm(&time)) / 60;
}

long long MinutesNow() { return MinutesOf(FormatDateTime(DateTime::Now(), kBodyTime)); }

// The time of the body line that begins with label, in minutes; -1 when
// there is none.
long long LineMinutes(const std::string& body, const std::string& label) {
    const std::size_t at = body.find("\r\n" + label);
    if (at == std::string::npos) return -1;
    const std::size_t begin = at + 2 + label.size();
    return MinutesOf(body.substr(begin, body.find('\r', begin) - begin));
}

// The files of folder whose names begin with prefix.
std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> files;
    glob_t found{};
    if (glob((folder + "/" + prefix + "*").c_str(), 0, nullptr, &found) == 0) {
        for (std::size_t i = 0; i < found.gl_pathc; ++i) files.push_back(found.gl_pathv[i]);
    }
    globfree(&found);
    return files;
}

TEST(MailBodyWindow, EndIsTheRunAndStartTheGivenHoursBefore) {
    const struct {
        const char* path;
        const char* bodyPrefix;
    } programs[] = {
        {QX_STAYTALLY_PATH, "gr"},
        {QX_RELAYTALLY_PATH, "mds"},
        {QX_DAWNTALLY_PATH, "wr"},
    };
    for (const auto& program : programs) {
        TESTSUPPORT::TestServer::Get().Reset();
        TESTSUPPORT::TempDir dir;
        TESTSUPPORT::ProgramOptions options;
        options.environment["TMPDIR"] = dir.MakeDir("tmp");
        options.environment["QUORIX_ROOT"] = dir.Path();
        options.environment["QUORIX_REGISTRY"] = dir.File("none.reg");
        options.workDir = dir.Path();

        const long long before = MinutesNow();
        const TESTSUPPORT::ProgramResult run = TESTSUPPORT::RunProgram(
            program.path, {"-hours", "5", "-email", "desk@example.com", "-file", "report.csv"},
            options);
        const long long after = MinutesNow();
        ASSERT_EQ(run.exitCode, 0) << program.path << ": " << run.err;

        const std::vector<std::string> bodies =
            FilesStartingWith(dir.File("tmp"), program.bodyPrefix);
        ASSERT_EQ(bodies.size(), 1u) << program.path;
        const std::string body = dir.Read(bodies[0].substr(dir.Path().size() + 1));
        const long long start = LineMinutes(body, "Start: ");
        const long long end = LineMinutes(body, "End: ");
        // Both within the minutes of the run, which nearly always are one, so
        // that End - Start is the five hours to the minute.
        EXPECT_LE(before, end) << program.path << ":\n" << body;
        EXPECT_LE(end, after) << program.path << ":\n" << body;
        EXPECT_LE(before, start + 5 * 60) << program.path << ":\n" << body;
        EXPECT_LE(start + 5 * 60, after) << program.path << ":\n" << body;
    }
}

}  // namespace
