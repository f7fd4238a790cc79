// A small hotel in the test database and runs of the staytally program
// against it, for the tests of the guest activity report.

#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/CsvLine.h"
#include "support/FolderFiles.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"
#include "support/TestHotel.h"
#include "support/TestServer.h"

// The report's header line, untranslated.
extern const char kGuestHeader[];

using TESTSUPPORT::DbTimeAgo;
using TESTSUPPORT::Json;
using TESTSUPPORT::Lines;
using TESTSUPPORT::MailboxJson;

// An ObjectId text: "65f", the digit series (one per test source, so ids of
// different sources never meet), and n in 20 hex digits.
std::string Oid(int series, int n);

// One document of "reportmbactivity".
struct Activity {
    Activity() = default;
    Activity(std::string id, std::string timestamp, std::string mailbox = "101", int activity = 1,
             int method = 1, int result = 0);

    std::string id;         // "_id": an ObjectId of these 24 hex digits, else the string itself
    std::string timestamp;  // as stored
    std::string mailbox = "101";
    int activity = 1;
    int method = 1;
    int result = 0;
    std::string detail;
    std::string username;
    std::string msgtofrom;
    int line = 1;
    std::string extra;  // more members, as JSON ("\"a\": 1")

    std::string ToJson() const;
};

using TESTSUPPORT::FilesIn;
using TESTSUPPORT::FileText;

// The test hotel (SeedTestHotel). Each test gets its own temp folder
// (TMPDIR of the runs), machine root and registry file (none, unless the
// test writes one).
class GuestReportTest : public ::testing::Test {
protected:
    void SetUp() override;

    static TESTSUPPORT::TestServer& Server() { return TESTSUPPORT::TestServer::Get(); }
    static void Seed(const std::vector<Activity>& activities);

    // Runs the program with args. shellPrefix, when given, runs it through
    // /bin/sh after those shell commands (e.g. "ulimit -n 1024"). A stop
    // signal is sent to it once stopWhen holds (see ProgramOptions).
    TESTSUPPORT::ProgramResult RunStaytally(const std::vector<std::string>& args,
                                            const std::string& shellPrefix = "", int stopSignal = 0,
                                            std::function<bool()> stopWhen = nullptr) const;

    // The canonical extended JSON of the stored mail tasks, one object per task.
    static std::vector<std::string> MailTasks();

    // Where the runs make their own files.
    std::string TempFolder() const { return dir_.Path() + "/tmp"; }

    TESTSUPPORT::TempDir dir_;
};

using TESTSUPPORT::CsvFieldsOf;

// Whether text fits pattern: "#" stands for one digit, "*" for any run of
// characters (none included), every other character for itself.
bool FitsPattern(const std::string& text, const std::string& pattern);

// The raw JSON text of a member of a flat JSON object: a string literal with
// its quotes, or a number. Empty when there is no such member.
std::string JsonMember(const std::string& object, const std::string& name);

// The text of a string member, unescaped for the escapes JSON writes for
// line ends and quotes.
std::string JsonString(const std::string& object, const std::string& name);
