// A small hotel in the test database for the wake-up report tests, its
// wake-up events, and runs of the dawntally program against it.

#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/DateTime.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"
#include "support/TestHotel.h"
#include "support/TestServer.h"

// The report's header line, untranslated.
extern const char kWakeupHeader[];

// An ObjectId text whose order follows n.
std::string Oid(int n);

using TESTSUPPORT::DbTimeAgo;
using TESTSUPPORT::Json;
using TESTSUPPORT::Lines;
using TESTSUPPORT::TimeAgo;

// The text with every digit replaced by 9, to compare the form of times
// and generated names.
std::string DigitsAsNines(std::string text);

// One document of "wakeuplog". An id of 24 hexadecimal digits is stored as
// an ObjectId, any other as a string; an empty wakeupid is left out of the
// document.
struct Event {
    std::string id;
    std::string timestamp;
    std::string wakeupid;
    std::string more;  // further members, as JSON ("\"action\": 1")

    std::string ToJson() const;
};

// The test hotel (SeedTestHotel). Each test gets its own temp folder (TMPDIR of
// the runs), machine root and registry file (none unless the test writes
// one).
class WakeupTest : public ::testing::Test {
protected:
    void SetUp() override;

    static TESTSUPPORT::TestServer& Server() { return TESTSUPPORT::TestServer::Get(); }
    static void Seed(const std::vector<Event>& events);

    // The requests since Reset of operation op ("query", ...) on the
    // namespace ns ("kelden.wakeuplog").
    static std::vector<std::string> RequestsOf(const std::string& op, const std::string& ns);

    // Runs dawntally with args, in the test's temp folder.
    TESTSUPPORT::ProgramResult Run(const std::vector<std::string>& args) const;
    // Runs it with "-file report.csv" and more args, expects success and
    // returns the file's lines.
    std::vector<std::string> ReportLines(const std::vector<std::string>& more = {}) const;

    // The stored mail tasks, one canonical extended JSON document each.
    static std::vector<std::string> MailTasks();

    std::string TempFolder() const { return dir_.Path() + "/tmp"; }

    TESTSUPPORT::TempDir dir_;
};

// The text of a string member of a flat JSON document, its escapes undone;
// empty when there is none.
std::string JsonString(const std::string& object, const std::string& name);
