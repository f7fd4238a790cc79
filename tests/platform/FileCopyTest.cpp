#include "platform/FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "support/EnvironmentScope.h"
#include "support/TempDir.h"

namespace {

class FileCopyTest : public ::testing::Test {
protected:
    struct stat Info(const std::string& name) {
        struct stat info {};
        EXPECT_EQ(::stat(dir_.File(name).c_str(), &info), 0) << name;
        return info;
    }

    TESTSUPPORT::TempDir dir_;
    TESTSUPPORT::EnvironmentScope root_{"QUORIX_ROOT", dir_.Path()};
};

TEST_F(FileCopyTest, CopiesBytesModeAndLastWriteTimeThroughSystemPaths) {
    const std::string bytes("line\r\n\0binary", 13);
    const std::string source = dir_.Write("logs/a.ltt", bytes);
    ASSERT_EQ(::chmod(source.c_str(), 0640), 0);
    const struct timespec times[2] = {{1500000000, 0}, {1600000000, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, source.c_str(), times, 0), 0);
    dir_.MakeDir("archive");

    ASSERT_TRUE(PLATFORM::CopyFile("C:\\logs\\a.ltt", "C:\\archive\\a.ltt", false));
    EXPECT_EQ(dir_.Read("archive/a.ltt"), bytes);
    const struct stat copy = Info("archive/a.ltt");
    EXPECT_EQ(copy.st_mode & 0777, 0640u);
    EXPECT_EQ(copy.st_mtim.tv_sec, 1600000000);
}

TEST_F(FileCopyTest, ReplacesATargetUnlessTold) {
    dir_.Write("a", "new");
    dir_.Write("b", "a much longer old content");
    EXPECT_FALSE(PLATFORM::CopyFile("C:\\a", "C:\\b", true));
    EXPECT_EQ(dir_.Read("b"), "a much longer old content");
    EXPECT_TRUE(PLATFORM::CopyFile("C:\\a", "C:\\b", false));
    EXPECT_EQ(dir_.Read("b"), "new");
}

TEST_F(FileCopyTest, FailsWithoutHarm) {
    dir_.Write("a", "content");
    dir_.MakeDir("folder");
    EXPECT_FALSE(PLATFORM::CopyFile("C:\\a", "C:\\a", false)) << "onto itself";
    EXPECT_EQ(dir_.Read("a"), "content");
    EXPECT_FALSE(PLATFORM::CopyFile("C:\\missing", "C:\\target", false));
    EXPECT_NE(::access(dir_.File("target").c_str(), F_OK), 0) << "no target for a missing source";
    EXPECT_FALSE(PLATFORM::CopyFile("C:\\a", "C:\\folder", false)) << "a folder is no target";
    EXPECT_FALSE(PLATFORM::CopyFile("C:\\folder", "C:\\b", false)) << "a folder is no source";
    EXPECT_FALSE(PLATFORM::CopyFile("C:\\a", "C:\\nowhere\\b", false));
}

}  // namespace
