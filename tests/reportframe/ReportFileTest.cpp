#include "reportframe/ReportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/FolderFiles.h"
#include "support/ForkedChild.h"
#include "support/TempDir.h"

namespace {

using TESTSUPPORT::FilesIn;
using TESTSUPPORT::TempDir;

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// Sets the umask for one test.
class UmaskScope {
public:
    explicit UmaskScope(mode_t mask) : previous_(::umask(mask)) {}
    ~UmaskScope() { ::umask(previous_); }

private:
    mode_t previous_;
};

// An earlier report at the path stays whole until the new one is complete
// and kept; a file that is never kept leaves nothing behind.
TEST(ReportFileTest, ReplaceWritesBesideAndPutsInPlaceOnlyWhenKept) {
    for (const bool keep : {true, false}) {
        TempDir dir;
        const std::string path = dir.Write("r.csv", "yesterday's report\r\n");
        ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
        {
            ReportFile file(path, ReportFile::Kind::kReplace);
            ASSERT_TRUE(file.IsOpen()) << file.Error();
            file.WriteLine("\"a\",");
            file.WriteLine("\"b\",");
            EXPECT_TRUE(file.Close()) << file.Error();
            EXPECT_EQ(dir.Read("r.csv"), "yesterday's report\r\n") << "not in place before Keep";
            EXPECT_EQ(FilesIn(dir.Path()).size(), 2u) << "the new report waits beside it";
            if (keep) {
                EXPECT_TRUE(file.Keep()) << file.Error();
            }
        }
        EXPECT_EQ(dir.Read("r.csv"), keep ? "\"a\",\n\"b\",\n" : "yesterday's report\r\n");
        EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"r.csv"});
        EXPECT_EQ(ModeOf(path) & 07777, 0640u) << "the replacement keeps the file's mode";
    }
}

TEST(ReportFileTest, ReplaceOfANewFileGetsTheUsualModeOrNothingWhenNotKept) {
    TempDir dir;
    const UmaskScope mask(027);
    {
        ReportFile file(dir.File("new.csv"), ReportFile::Kind::kReplace);
        file.WriteLine("x");
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(file.Keep());
    }
    EXPECT_EQ(ModeOf(dir.File("new.csv")) & 07777, 0640u);
    {
        ReportFile file(dir.File("failed.csv"), ReportFile::Kind::kReplace);
        file.WriteLine("x");
        ASSERT_TRUE(file.Close());
    }
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"new.csv"});
}

// A link the user names is written through: the file it points to gets the
// report and the link stays a link, also when the target is still missing
// or the link is relative and chained.
TEST(ReportFileTest, ReplaceWritesThroughLinks) {
    TempDir dir;
    dir.MakeDir("real");
    dir.Write("real/target.csv", "old\n");
    ASSERT_EQ(::symlink("real/target.csv", dir.File("hop").c_str()), 0);
    ASSERT_EQ(::symlink("hop", dir.File("link.csv").c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("real/missing.csv").c_str(), dir.File("dangling.csv").c_str()), 0);
    ASSERT_EQ(::symlink("real/new.csv", dir.File("relative.csv").c_str()), 0);
    for (const char* name : {"link.csv", "dangling.csv", "relative.csv"}) {
        ReportFile file(dir.File(name), ReportFile::Kind::kReplace);
        ASSERT_TRUE(file.IsOpen()) << name << ": " << file.Error();
        file.WriteLine(name);
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(file.Keep()) << file.Error();
        EXPECT_TRUE(S_ISLNK(ModeOf(dir.File(name)))) << name;
    }
    EXPECT_EQ(dir.Read("real/target.csv"), "link.csv\n");
    EXPECT_EQ(dir.Read("real/missing.csv"), "dangling.csv\n");
    EXPECT_EQ(dir.Read("real/new.csv"), "relative.csv\n");
    EXPECT_TRUE(S_ISLNK(ModeOf(dir.File("hop"))));
    EXPECT_EQ(FilesIn(dir.Path()).size(), 5u);
    EXPECT_EQ(FilesIn(dir.File("real")),
              (std::vector<std::string>{"missing.csv", "new.csv", "target.csv"}));

    ASSERT_EQ(::symlink("loop2", dir.File("loop1").c_str()), 0);
    ASSERT_EQ(::symlink("loop1", dir.File("loop2").c_str()), 0);
    ReportFile loop(dir.File("loop1"), ReportFile::Kind::kReplace);
    EXPECT_FALSE(loop.IsOpen());
    EXPECT_EQ(loop.Error(), "Too many levels of symbolic links");
}

// A FIFO or a device has no earlier contents to keep: it is written
// directly and stays what it is.
TEST(ReportFileTest, ReplaceWritesAFifoDirectly) {
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    {
        ReportFile file(fifo, ReportFile::Kind::kReplace);
        ASSERT_TRUE(file.IsOpen()) << file.Error();
        file.WriteLine("row");
        EXPECT_TRUE(file.Close());
        EXPECT_TRUE(file.Keep());
    }
    char text[16] = {};
    EXPECT_EQ(::read(reader, text, sizeof text), 4);
    EXPECT_STREQ(text, "row\n");
    ::close(reader);
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"pipe"});
}

// Opening a FIFO waits for a reader, which may never come: without one the
// report fails at once. With one, the writes wait for it as usual, however
// slowly it reads.
TEST(ReportFileTest, AFifoWithoutAReaderFailsAndOneWithASlowReaderGetsEverything) {
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // In a child of its own, which a run that waits for ever does not hold up.
    TESTSUPPORT::ForkedChild noReader([&](TESTSUPPORT::ForkedChild&) {
        ::alarm(10);
        const ReportFile file(fifo, ReportFile::Kind::kReplace);
        return !file.IsOpen() && file.Error() == "no process reads the FIFO" ? 0 : 1;
    });
    EXPECT_EQ(noReader.Join(), 0) << "-1: it waited for a reader";

    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::string read;
    std::thread slowReader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ASSERT_EQ(::fcntl(reader, F_SETFL, 0), 0);
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(reader, buffer, sizeof buffer)) > 0) {
            read.append(buffer, static_cast<std::size_t>(got));
        }
    });
    const std::string line(999, 'x');
    {
        ReportFile file(fifo, ReportFile::Kind::kReplace);
        ASSERT_TRUE(file.IsOpen()) << file.Error();
        for (int i = 0; i < 500; ++i) {
            file.WriteLine(line);
        }
        EXPECT_TRUE(file.Close()) << file.Error();
    }
    slowReader.join();
    ::close(reader);
    EXPECT_EQ(read.size(), 500u * 1000u);
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
}

// "/dev/stdout" and its kind are links the system resolves to an open
// descriptor, here a pipe: there is nothing to replace, the pipe is written.
TEST(ReportFileTest, ReplaceWritesAnOpenDescriptorDirectly) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    {
        ReportFile file("/proc/self/fd/" + std::to_string(pipeEnds[1]), ReportFile::Kind::kReplace);
        ASSERT_TRUE(file.IsOpen()) << file.Error();
        file.WriteLine("row");
        EXPECT_TRUE(file.Close());
        EXPECT_TRUE(file.Keep());
    }
    ::close(pipeEnds[1]);
    char text[16] = {};
    EXPECT_EQ(::read(pipeEnds[0], text, sizeof text), 4);
    EXPECT_STREQ(text, "row\n");
    ::close(pipeEnds[0]);
}

TEST(ReportFileTest, WriteErrorOfADeviceIsReportedAtClose) {
    struct stat full;
    if (::stat("/dev/full", &full) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    ReportFile file("/dev/full", ReportFile::Kind::kReplace);
    ASSERT_TRUE(file.IsOpen());
    file.WriteLine("row");
    EXPECT_FALSE(file.Close());
    EXPECT_EQ(file.Error(), "write failed: No space left on device");
    EXPECT_FALSE(file.Keep());
}

TEST(ReportFileTest, PathsThatCannotTakeAReportTellWhy) {
    TempDir dir;
    dir.MakeDir("folder.csv");
    dir.Write("plain", "");
    const struct {
        std::string path;
        const char* error;
    } cases[] = {
        {dir.File("no/such/folder/r.csv"), "No such file or directory"},
        {dir.File("folder.csv"), "Is a directory"},
        {dir.File("plain/r.csv"), "Not a directory"},
    };
    for (const auto& c : cases) {
        ReportFile file(c.path, ReportFile::Kind::kReplace);
        EXPECT_FALSE(file.IsOpen()) << c.path;
        EXPECT_EQ(file.Error(), c.error) << c.path;
        file.WriteLine("ignored");
        EXPECT_FALSE(file.Close());
        EXPECT_FALSE(file.Keep());
    }
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"folder.csv", "plain"}));
}

// In the shared temp folder nothing that is already there is opened: not a
// file someone made in advance, not a link.
TEST(ReportFileTest, CreateNewNeverOpensWhatExists) {
    TempDir dir;
    const std::string planted = dir.Write("GA1.csv", "planted\n");
    const std::string victim = dir.Write("victim", "precious\n");
    ASSERT_EQ(::symlink(victim.c_str(), dir.File("GA2.csv").c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("nothing").c_str(), dir.File("GA3.csv").c_str()), 0);
    for (const char* name : {"GA1.csv", "GA2.csv", "GA3.csv"}) {
        ReportFile file(dir.File(name), ReportFile::Kind::kCreateNew);
        EXPECT_FALSE(file.IsOpen()) << name;
        EXPECT_TRUE(file.NameTaken()) << name;
    }
    EXPECT_EQ(dir.Read("GA1.csv"), "planted\n");
    EXPECT_EQ(dir.Read("victim"), "precious\n");
    EXPECT_NE(::access(dir.File("nothing").c_str(), F_OK), 0);

    const UmaskScope mask(0);
    {
        ReportFile file(dir.File("GA4.csv"), ReportFile::Kind::kCreateNew);
        ASSERT_TRUE(file.IsOpen()) << file.Error();
        EXPECT_FALSE(file.NameTaken());
        EXPECT_EQ(ModeOf(dir.File("GA4.csv")) & 07777, 0600u);
        file.WriteLine("mine");
        ASSERT_TRUE(file.Close());
        ASSERT_TRUE(file.Keep());
    }
    EXPECT_EQ(dir.Read("GA4.csv"), "mine\n");
    {
        ReportFile file(dir.File("GA5.csv"), ReportFile::Kind::kCreateNew);
        file.WriteLine("given up");
        EXPECT_TRUE(file.Close());
    }
    EXPECT_NE(::access(dir.File("GA5.csv").c_str(), F_OK), 0) << "not kept, removed";

    ReportFile missingFolder(dir.File("gone/GA6.csv"), ReportFile::Kind::kCreateNew);
    EXPECT_FALSE(missingFolder.NameTaken());
    EXPECT_EQ(missingFolder.Error(), "No such file or directory");
}

TEST(ReportFileTest, TempRefusesALinkAndEmptiesItsOwnFile) {
    TempDir dir;
    const std::string victim = dir.Write("victim", "precious\n");
    ASSERT_EQ(::symlink(victim.c_str(), dir.File("gr1.tmp").c_str()), 0);
    ReportFile refused(dir.File("gr1.tmp"), ReportFile::Kind::kTemp);
    EXPECT_FALSE(refused.IsOpen());
    EXPECT_EQ(refused.Error(), "it is a symbolic link");
    EXPECT_EQ(dir.Read("victim"), "precious\n");

    dir.Write("gr2.tmp", "left over from before\n");
    {
        ReportFile body(dir.File("gr2.tmp"), ReportFile::Kind::kTemp);
        body.WriteLine("body");
        ASSERT_TRUE(body.Close());
        ASSERT_TRUE(body.Keep());
    }
    EXPECT_EQ(dir.Read("gr2.tmp"), "body\n");
}

TEST(ReportFileTest, LargeReportIsWrittenWhole) {
    TempDir dir;
    const std::string line(1000, 'x');
    std::string expected;
    {
        ReportFile file(dir.File("big.csv"), ReportFile::Kind::kReplace);
        for (int i = 0; i < 300; ++i) {
            file.WriteLine(line);
            expected += line + "\n";
        }
        EXPECT_TRUE(file.Close());
        EXPECT_TRUE(file.Keep());
    }
    EXPECT_EQ(dir.Read("big.csv"), expected);
}

}  // namespace
