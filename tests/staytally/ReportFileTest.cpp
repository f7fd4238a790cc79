#include "reportframe/ReportFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/TempDir.h"

namespace {

using TESTSUPPORT::TempDir;

TEST(ReportFileTest, TruncatesAndEndsLinesWithALineFeed) {
    TempDir dir;
    const std::string path = dir.Write("r.csv", "old content that is longer\r\n");
    ReportFile file(path, ReportFile::Links::Follow);
    ASSERT_TRUE(file.IsOpen()) << file.Error();
    file.WriteLine("\"a\",");
    file.WriteLine("\"b\",");
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(dir.Read("r.csv"), "\"a\",\n\"b\",\n");
}

TEST(ReportFileTest, LargeReportIsWrittenWhole) {
    TempDir dir;
    const std::string line(1000, 'x');
    std::string expected;
    {
        ReportFile file(dir.File("big.csv"), ReportFile::Links::Refuse);
        for (int i = 0; i < 300; ++i) {
            file.WriteLine(line);
            expected += line + "\n";
        }
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(dir.Read("big.csv"), expected);
}

TEST(ReportFileTest, RefusesAPlantedLinkButFollowsOneWhenTold) {
    TempDir dir;
    const std::string victim = dir.Write("victim", "precious\n");
    const std::string link = dir.File("GA202404111530.csv");
    ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);

    ReportFile refused(link, ReportFile::Links::Refuse);
    EXPECT_FALSE(refused.IsOpen());
    EXPECT_EQ(refused.Error(), "it is a symbolic link");
    refused.WriteLine("ignored");
    EXPECT_FALSE(refused.Close());
    EXPECT_EQ(dir.Read("victim"), "precious\n");

    ReportFile followed(link, ReportFile::Links::Follow);
    ASSERT_TRUE(followed.IsOpen());
    followed.WriteLine("given path");
    EXPECT_TRUE(followed.Close());
    EXPECT_EQ(dir.Read("victim"), "given path\n");
}

TEST(ReportFileTest, MissingFolderTellsWhy) {
    TempDir dir;
    ReportFile file(dir.File("no/such/folder/r.csv"), ReportFile::Links::Follow);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Error(), "No such file or directory");
}

TEST(ReportFileTest, WriteErrorIsReportedAtClose) {
    struct stat full;
    if (::stat("/dev/full", &full) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    ReportFile file("/dev/full", ReportFile::Links::Follow);
    ASSERT_TRUE(file.IsOpen());
    file.WriteLine("row");
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(file.Error(), "write failed: No space left on device");
}

}  // namespace
