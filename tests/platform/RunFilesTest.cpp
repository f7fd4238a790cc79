// A run stopped by SIGTERM, SIGINT or SIGHUP removes the files it made and
// has not handed over, then ends by that signal. Each case runs in a forked
// child: the handlers and the list belong to the process.

#include "platform/RunFiles.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/TempFiles.h"
#include "platform/WritableFile.h"
#include "support/FolderFiles.h"
#include "support/ForkedChild.h"
#include "support/TempDir.h"

namespace {

using TESTSUPPORT::FilesIn;
using TESTSUPPORT::ForkedChild;

const int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Runs body in a child that then raises `signal`; the signal that ended the
// child (0 when it lived on to exit).
int StopAfter(int signal, const std::function<void()>& body) {
    ForkedChild child([&](ForkedChild&) {
        body();
        ::raise(signal);
        return 0;
    });
    child.Join();
    return child.EndSignal();
}

// Listed files go (the file beside a report being replaced and a temp file
// among them), dropped and kept ones stay, whatever was listed and
// dropped before (the list is reused, it never fills up).
TEST(RunFilesTest, AStopRemovesTheListedFilesAndEndsByTheSignal) {
    for (const int signal : kStopSignals) {
        TESTSUPPORT::TempDir dir;
        const std::string made = dir.Write("GA1.csv", "half a report");
        const std::string dropped = dir.Write("kept.csv", "a kept report");
        const std::string replaced = dir.Write("daily.csv", "yesterday's report");
        const int ended = StopAfter(signal, [&] {
            PLATFORM::RemoveRunFilesWhenStopped();
            for (int i = 0; i < 100; ++i) {
                PLATFORM::AddRunFile(dir.File("earlier" + std::to_string(i)));
                PLATFORM::DropRunFile(dir.File("earlier" + std::to_string(i)));
            }
            PLATFORM::AddRunFile(made);
            PLATFORM::AddRunFile(made);
            PLATFORM::AddRunFile(dropped);
            PLATFORM::DropRunFile(dropped);
            static PLATFORM::WritableFile beside;  // never put in place
            beside.OpenReplacement(replaced);
            beside.Append("new report");
            std::string body;
            PLATFORM::CreateUniqueTempFile(dir.Path() + "/", "gr", body);
        });
        EXPECT_EQ(ended, signal);
        EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"daily.csv", "kept.csv"}))
            << "signal " << signal;
        EXPECT_EQ(dir.Read("daily.csv"), "yesterday's report");
    }
}

TEST(RunFilesTest, HandedOverFilesStay) {
    TESTSUPPORT::TempDir dir;
    const std::string report = dir.Write("GA1.csv", "report");
    const std::string body = dir.Write("gr1.tmp", "body");
    const int ended = StopAfter(SIGTERM, [&] {
        PLATFORM::RemoveRunFilesWhenStopped();
        PLATFORM::AddRunFile(report);
        PLATFORM::AddRunFile(body);
        PLATFORM::HandOverRunFiles();
    });
    EXPECT_EQ(ended, SIGTERM);
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"GA1.csv", "gr1.tmp"}));
}

// nohup starts a job with SIGHUP ignored, a shell starts a background job
// with SIGINT ignored: the run must not be stopped by them after all.
TEST(RunFilesTest, ASignalIgnoredAtTheStartStaysIgnored) {
    for (const int signal : {SIGHUP, SIGINT}) {
        TESTSUPPORT::TempDir dir;
        const std::string report = dir.Write("GA1.csv", "report");
        const int ended = StopAfter(signal, [&] {
            ::signal(signal, SIG_IGN);
            PLATFORM::RemoveRunFilesWhenStopped();
            PLATFORM::AddRunFile(report);
        });
        EXPECT_EQ(ended, 0) << "signal " << signal;
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"GA1.csv"});
    }
}

// A stop that comes while a file is being made waits until it is listed.
TEST(RunFilesTest, AStopWhileAFileIsMadeFindsItListed) {
    TESTSUPPORT::TempDir dir;
    const int ended = StopAfter(SIGTERM, [&] {
        PLATFORM::RemoveRunFilesWhenStopped();
        const PLATFORM::StopSignalsHeld held;
        ::raise(SIGTERM);
        const std::string made = dir.Write("GA1.csv", "report");
        PLATFORM::AddRunFile(made);
    });
    EXPECT_EQ(ended, SIGTERM);
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

// A stop sent to the process while the run holds it back goes to another
// thread (the trace writer's, in the programs): it must still wait until
// the file being made is listed.
TEST(RunFilesTest, AStopThatReachesAnotherThreadWaitsForTheList) {
    TESTSUPPORT::TempDir dir;
    const int ended = StopAfter(SIGTERM, [&] {
        PLATFORM::RemoveRunFilesWhenStopped();
        std::thread([] {
            for (;;) {
                ::pause();
            }
        }).detach();
        const PLATFORM::StopSignalsHeld held;
        const std::string made = dir.Write("GA1.csv", "report");
        ::kill(::getpid(), SIGTERM);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        PLATFORM::AddRunFile(made);
    });
    EXPECT_EQ(ended, SIGTERM);
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

}  // namespace
