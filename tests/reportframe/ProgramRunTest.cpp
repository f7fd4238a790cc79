#include "support/ProgramRun.h"

#include <signal.h>

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "support/EnvironmentScope.h"
#include "support/TempDir.h"

namespace {

using TESTSUPPORT::ProgramOptions;
using TESTSUPPORT::ProgramResult;
using TESTSUPPORT::RunProgram;

ProgramResult Shell(const std::string& script, const ProgramOptions& options = {}) {
    return RunProgram("/bin/sh", {"-c", script}, options);
}

TEST(RunProgram, CollectsBothStreamsAndTheExitCode) {
    const ProgramResult result = Shell("printf 'out\\r\\n'; printf 'err' >&2; exit 3");
    EXPECT_EQ(result.out, "out\r\n");
    EXPECT_EQ(result.err, "err");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.signal, 0);
    EXPECT_FALSE(result.timedOut);
}

TEST(RunProgram, DoesNotStallOnLargeOutputOnBothStreams) {
    const ProgramResult result =
        Shell("head -c 1000000 /dev/zero; head -c 1000000 /dev/zero >&2; echo end");
    EXPECT_EQ(result.out.size(), 1000004u);
    EXPECT_EQ(result.err.size(), 1000000u);
    EXPECT_EQ(result.exitCode, 0);
}

TEST(RunProgram, PassesArgumentsEnvironmentFolderAndInput) {
    TESTSUPPORT::TempDir dir;
    TESTSUPPORT::EnvironmentScope inherited("QX_RUN_INHERITED", "kept");
    TESTSUPPORT::EnvironmentScope dropped("QX_RUN_DROPPED", "gone");
    ProgramOptions options;
    options.environment = {{"QX_RUN_ADDED", "a b"}, {"QX_RUN_INHERITED", "replaced"}};
    options.unset = {"QX_RUN_DROPPED"};
    options.workDir = dir.Path();
    options.input = std::string(200000, 'x');
    const ProgramResult result = RunProgram(
        "/bin/sh",
        {"-c",
         "echo \"$1|$QX_RUN_ADDED|$QX_RUN_INHERITED|${QX_RUN_DROPPED-unset}|$(pwd)|$(wc -c)\"",
         "sh", "~x -y"},
        options);
    EXPECT_EQ(result.out, "~x -y|a b|replaced|unset|" + dir.Path() + "|200000\n");
    EXPECT_EQ(Shell("echo $QX_RUN_INHERITED").out, "kept\n");
}

TEST(RunProgram, ReportsSignalsAndKillsWhatRunsTooLong) {
    const ProgramResult killed = Shell("kill -TERM $$");
    EXPECT_EQ(killed.exitCode, -1);
    EXPECT_EQ(killed.signal, SIGTERM);

    ProgramOptions options;
    options.timeoutSeconds = 1;
    const ProgramResult slow = Shell("exec >&- 2>&-; sleep 30", options);
    EXPECT_TRUE(slow.timedOut);
    EXPECT_EQ(slow.signal, SIGKILL);
}

TEST(RunProgram, ThrowsWhenTheProgramCannotStart) {
    EXPECT_THROW(RunProgram("/nonexistent/program", {}), std::runtime_error);
    ProgramOptions options;
    options.workDir = "/nonexistent/folder";
    EXPECT_THROW(Shell("true", options), std::runtime_error);
}

}  // namespace
