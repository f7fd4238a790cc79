#include "platform/WritableFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

// Any name the folder takes works, however little room it leaves for the
// ".XXXXXX" of the file beside it: that name is cut short, never inside a
// UTF-8 character, and stays in the folder.
TEST_F(WritableFileTest, TheFileBesideALongNameFitsTheNameLimit) {
    std::string twoByteChars;
    for (int i = 0; i < 127; ++i) {
        twoByteChars += "\xC3\xA9";  // é
    }
    const struct {
        std::string name;
        std::string besidePrefix;  // what the name beside begins with before ".XXXXXX"
    } cases[] = {
        {std::string(244, 'r') + ".csv", std::string(244, 'r') + ".csv"},
        {std::string(246, 'r') + ".csv", std::string(246, 'r') + ".c"},
        {std::string(251, 'r') + ".csv", std::string(248, 'r')},
        {"x" + twoByteChars, "x" + twoByteChars.substr(0, 246)},
    };
    for (const auto& c : cases) {
        ASSERT_LE(c.name.size(), 255u);
        const std::string path = dir_.Write(c.name, "old\n");
        WritableFile file;
        ASSERT_TRUE(file.OpenReplacement(path)) << c.name.size() << ": " << std::strerror(errno);
        ASSERT_TRUE(file.Append("new\n"));
        const std::vector<std::string> names = TESTSUPPORT::FilesIn(dir_.Path());
        ASSERT_EQ(names.size(), 2u);
        const std::string& beside = names[0] == c.name ? names[1] : names[0];
        ASSERT_EQ(beside.size(), c.besidePrefix.size() + 7) << beside;
        EXPECT_EQ(beside.substr(0, c.besidePrefix.size()), c.besidePrefix);
        EXPECT_EQ(beside[c.besidePrefix.size()], '.') << beside;
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(file.PutInPlace());
        EXPECT_EQ(dir_.Read(c.name), "new\n");
        EXPECT_EQ(TESTSUPPORT::FilesIn(dir_.Path()), std::vector<std::string>{c.name});
        ASSERT_EQ(::unlink(path.c_str()), 0);
    }
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
