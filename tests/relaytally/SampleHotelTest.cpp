// The sample hotel of the demo: its deliveries and recordings, as the
// generators write them, give a full delivery report.

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RelayFixture.h"
#include "support/ProgramRun.h"
#include "support/TempDir.h"

namespace {

class SampleHotelTest : public RelayFixture {};

// The fields of a report line (no field of the sample holds a comma or a
// quote).
std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) {
        fields.push_back(field.substr(1, field.size() - 2));
    }
    return fields;
}

TEST_F(SampleHotelTest, EveryDeliveryGivesItsThreeRows) {
    TESTSUPPORT::TempDir dir;
    const std::string data = std::string(QX_SOURCE_DIR) + "/tests/data/";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {data + "make-sample-hotel.py", "--out", dir.File("hotel.json")},
             {data + "make-sample-deliveries.py", "--hotel", dir.File("hotel.json"), "--out",
              dir.File("deliveries.json"), "--deliveries", "40"}}) {
        const auto made = TESTSUPPORT::RunProgram("/usr/bin/python3", args);
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }
    Server().SeedFile(dir.File("hotel.json"));
    Server().SeedFile(dir.File("deliveries.json"));

    TESTSUPPORT::ProgramOptions options;
    options.workDir = dir.Path();
    options.environment["QUORIX_ROOT"] = dir.Path();
    const auto result =
        TESTSUPPORT::RunProgram(QX_RELAYTALLY_PATH, {"-file", "report.csv"}, options);
    ASSERT_EQ(result.exitCode, 0) << result.err;

    std::istringstream report(dir.Read("report.csv"));
    std::string line;
    std::getline(report, line);
    std::map<std::string, int> recordings;
    int rows = 0;
    while (std::getline(report, line)) {
        const std::vector<std::string> fields = Fields(line);
        ASSERT_EQ(fields.size(), 15u) << line;
        EXPECT_NE(fields[11], "") << "room: " << line;
        EXPECT_NE(fields[12], "") << "name: " << line;
        EXPECT_NE(fields[13], "") << "tenant: " << line;
        // Each delivery is scheduled, then delivered, then something else.
        const char* const steps[] = {"Scheduled", "Voice message"};
        if (rows % 3 < 2) {
            EXPECT_EQ(fields[14], steps[rows % 3]) << line;
        } else {
            EXPECT_NE(fields[14], steps[0]) << line;
        }
        ++recordings[fields[8]];
        ++rows;
    }
    EXPECT_EQ(rows, 3 * 40);
    // Voice files, texts and stored recordings by their names; none unknown.
    EXPECT_GT(recordings["Message"], 0);
    EXPECT_GT(recordings["Text"], 0);
    EXPECT_EQ(recordings.count("Recording"), 0u);
    EXPECT_GT(recordings.size(), 3u);
}

}  // namespace
