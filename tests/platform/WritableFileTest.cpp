#include "platform/WritableFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/FileContents.h"
#include "support/FolderFiles.h"
#include "support/TempDir.h"

namespace {

using PLATFORM::WritableFile;

class WritableFileTest : public ::testing::Test {
protected:
    TESTSUPPORT::TempDir dir_;
};

// The old contents stay at the path until the replacement is put in place,
// and a replacement given up leaves nothing beside the file.
TEST_F(WritableFileTest, AReplacementTakesThePathOnlyWhenPutInPlace) {
    const std::string path = dir_.Write("report.csv", "old\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    {
        WritableFile abandoned;
        ASSERT_TRUE(abandoned.OpenReplacement(path));
        ASSERT_TRUE(abandoned.Append("half"));
    }
    EXPECT_EQ(dir_.Read("report.csv"), "old\n");
    EXPECT_EQ(TESTSUPPORT::FilesIn(dir_.Path()), std::vector<std::string>{"report.csv"});

    WritableFile file;
    ASSERT_TRUE(file.OpenReplacement(path));
    ASSERT_TRUE(file.Append("new\n"));
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(dir_.Read("report.csv"), "old\n");
    ASSERT_TRUE(file.PutInPlace());
    EXPECT_EQ(dir_.Read("report.csv"), "new\n");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(TESTSUPPORT::FilesIn(dir_.Path()), std::vector<std::string>{"report.csv"});
}

// A settings file reached through a link is rewritten where it lives; the
// link is not turned into a file of its own.
TEST_F(WritableFileTest, ReplacedContentsGoThroughALinkToItsTarget) {
    const std::string target = dir_.Write("real.ini", "[a]\n");
    const std::string link = dir_.File("linked.ini");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(PLATFORM::ReplaceFileContents(link, "[b]\n"));
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(dir_.Read("real.ini"), "[b]\n");
}

TEST_F(WritableFileTest, FailuresNameTheirCall) {
    WritableFile file;
    EXPECT_FALSE(file.Open(dir_.File("missing/file"), WritableFile::kCreate, 0600));
    EXPECT_STREQ(file.FailedCall(), "open");
    ASSERT_TRUE(file.Open("/dev/full", 0));
    EXPECT_FALSE(file.Append("x"));
    EXPECT_STREQ(file.FailedCall(), "write");
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.Close());
}

}  // namespace
