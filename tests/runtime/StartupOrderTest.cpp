#include <unistd.h>

#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "runtime/LogsControl.h"
#include "runtime/SharedConstants.h"
#include "runtime/Trace.h"
#include "support/ProgramRun.h"

namespace {

// An object of no start-up step, as every object of the programs' own
// files is: it is built after the runtime's and may use them at once.
struct StaticUser {
    StaticUser() {
        endpoint = LogsControl::ForwardEndpoint();
        version = kVersionMajor + "." + kVersionMinor + "." + kVersionBuild;
        TraceMessage("traced while statics are built");
    }
    std::string endpoint;
    std::string version;
};

StaticUser staticUser;

TEST(StartupOrderTest, ObjectsWithoutAStepFindTheRuntimeBuilt) {
    EXPECT_EQ(staticUser.endpoint, "tcp://127.0.0.1:10001");
    EXPECT_EQ(staticUser.version, "8.0.32");
}

TEST(StartupOrderTest, AReportRunThatEndsAtOnceJoinsTheWriterAndExitsPromptly) {
    const std::string program = QX_STAYTALLY_PATH;
    if (access(program.c_str(), X_OK) != 0) {
        GTEST_SKIP() << program << " is not built in this configuration";
    }
    const auto start = std::chrono::steady_clock::now();
    const TESTSUPPORT::ProgramResult run = TESTSUPPORT::RunProgram(program, {"-?"});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.signal, 0) << "an unjoined writer thread would abort the exit";
    EXPECT_FALSE(run.timedOut);
    // The writer sleeps up to 30 s between items: only the wake-up item of
    // Stop ends that wait so soon.
    EXPECT_LT(took, std::chrono::seconds(10));
}

}  // namespace
