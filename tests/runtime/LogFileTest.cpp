#include "runtime/LogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DataLocationRegistry.h"
#include "FsyncCounter.h"
#include "runtime/LogsControl.h"
#include "runtime/MutexAutoLock.h"
#include "runtime/TraceText.h"
#include "runtime/ZPushService.h"
#include "support/EnvironmentScope.h"
#include "support/FolderFiles.h"
#include "support/ForkedChild.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

using TESTSUPPORT::RegularFilesIn;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + " (no CR LF)");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool IsDigits(const std::string& text, std::size_t minimum) {
    return text.size() >= minimum && text.find_first_not_of("0123456789") == std::string::npos;
}

// "<log> <pid> <tid> YYYY/MM/DD-HH:MM:SS:mmm FFFFFFFF File opened|closed"
bool IsMarker(const std::string& line, const std::string& logName, const std::string& words) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t space = line.find(' ', start);
        if (space == std::string::npos) {
            return false;
        }
        fields.push_back(line.substr(start, space - start));
        start = space + 1;
    }
    const std::string& time = fields[3];
    const std::string timeShape = "dddd/dd/dd-dd:dd:dd:ddd";
    bool timeFits = time.size() == timeShape.size();
    for (std::size_t i = 0; timeFits && i < time.size(); ++i) {
        timeFits =
            timeShape[i] == 'd' ? (time[i] >= '0' && time[i] <= '9') : time[i] == timeShape[i];
    }
    return fields[0] == logName && IsDigits(fields[1], 4) && IsDigits(fields[2], 4) && timeFits &&
           line.substr(start) == "FFFFFFFF " + words;
}

std::string Padded(long number) {
    char text[32];
    std::snprintf(text, sizeof text, "%04ld", number);
    return text;
}

// A drive folder (QUORIX_ROOT) whose registry file puts the data folder at
// C:\data, with its TRACELOGS folder made.
class LogFileTest : public ::testing::Test {
protected:
    LogFileTest() {
        registry_.Set(dir_.Write("registry.reg", KeldenKeyExport(DataLocationLine("C:\\data"))));
        dir_.MakeDir("data/TRACELOGS");
    }

    // Log names are machine-wide through their rollover mutex, so they carry
    // this process's id.
    static std::string Name(const std::string& base) {
        return "TF" + std::to_string(getpid()) + base;
    }

    std::string Logs(const std::string& name = "") const {
        return dir_.File("data/TRACELOGS") + (name.empty() ? "" : "/" + name);
    }
    std::string Archive(const std::string& name = "") const {
        return Logs("ARCHIVE") + (name.empty() ? "" : "/" + name);
    }
    std::string ReadLog(const std::string& name) const {
        return dir_.Read("data/TRACELOGS/" + name);
    }

    static void PutFile(const std::string& path, const std::string& content,
                        std::int64_t writeTime) {
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr) << path;
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
        const struct timespec times[2] = {{writeTime, 0}, {writeTime, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    // A log file of the given size made of a hole, not of written bytes.
    static void MakeSparse(const std::string& path, off_t size) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0) << path;
        ASSERT_EQ(::ftruncate(fd, size), 0);
        ::close(fd);
    }

    static off_t SizeOf(const std::string& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_size : -1;
    }

    TESTSUPPORT::TempDir dir_;
    TESTSUPPORT::EnvironmentScope root_{"QUORIX_ROOT", dir_.Path()};
    TESTSUPPORT::EnvironmentScope registry_{"QUORIX_REGISTRY"};
};

TEST_F(LogFileTest, TheFirstWriteCreatesTheLogWithItsOpeningLine) {
    const std::string name = Name("OPEN");
    {
        LogFile log(name, 7);
        EXPECT_FALSE(log.IsOpen());
        log.WriteLine("first\r\n");
        ASSERT_TRUE(log.IsOpen());
        EXPECT_EQ(log.Path(), "C:\\data\\TRACELOGS\\" + name + ".ltt");
        const std::string opening = name + " " + Padded(getpid()) + " " + Padded(gettid()) + " " +
                                    FormatTraceTime(log.Opened()) + " FFFFFFFF File opened\r\n";
        EXPECT_EQ(ReadLog(name + ".ltt"), opening + "first\r\n");

        log.Close();
        EXPECT_FALSE(log.IsOpen());
        log.WriteLine("second\r\n");
    }
    const std::vector<std::string> lines = Lines(ReadLog(name + ".ltt"));
    ASSERT_EQ(lines.size(), 6u) << ReadLog(name + ".ltt");
    EXPECT_TRUE(IsMarker(lines[0], name, "File opened"));
    EXPECT_EQ(lines[1], "first");
    EXPECT_TRUE(IsMarker(lines[2], name, "File closed"));
    EXPECT_TRUE(IsMarker(lines[3], name, "File opened")) << "appended, not replaced";
    EXPECT_EQ(lines[4], "second");
    EXPECT_TRUE(IsMarker(lines[5], name, "File closed")) << "closed by the destructor";
}

TEST_F(LogFileTest, ALogWithoutANameNeverOpens) {
    LogFile log("", 9);
    log.WriteLine("dropped\r\n");
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.Path(), "");
    EXPECT_TRUE(RegularFilesIn(Logs()).empty());
}

TEST_F(LogFileTest, EveryHundredthWriteCommitsAndRestartsTheCount) {
    const std::string name = Name("COMMIT");
    LogFile log(name, 7);
    log.WriteLine("1\r\n");
    const FsyncCounter commits(Logs(name + ".ltt"));
    EXPECT_EQ(log.WritesUntilCommit(), 98) << "the opening line counts";
    for (int i = 0; i < 97; ++i) {
        log.WriteLine("more\r\n");
    }
    EXPECT_EQ(log.WritesUntilCommit(), 1);
    EXPECT_EQ(commits.Syncs(), 0);
    log.WriteLine("hundredth\r\n");
    EXPECT_EQ(log.WritesUntilCommit(), 100);
    EXPECT_EQ(commits.Syncs(), 1);
    log.Close();
    EXPECT_EQ(log.WritesUntilCommit(), 99) << "the closing line counts";
}

TEST_F(LogFileTest, AnUnusableDataFolderDropsLinesUntilItCanBeUsed) {
    const std::string name = Name("UNUSABLE");
    const struct {
        const char* what;
        void (*breakIt)(const std::string& logs);
    } cases[] = {
        {"missing", [](const std::string& logs) { fs::remove_all(logs); }},
        {"a file",
         [](const std::string& logs) {
             fs::remove_all(logs);
             std::FILE* file = std::fopen(logs.c_str(), "w");
             std::fclose(file);
         }},
    };
    for (const auto& c : cases) {
        c.breakIt(Logs());
        LogFile log(name, 7);
        log.WriteLine("lost\r\n");
        log.WriteLine("lost too\r\n");
        EXPECT_FALSE(log.IsOpen()) << c.what;

        fs::remove_all(Logs());
        fs::create_directories(Logs());
        log.WriteLine("kept\r\n");
        EXPECT_TRUE(log.IsOpen()) << c.what;
        const std::vector<std::string> lines = Lines(ReadLog(name + ".ltt"));
        ASSERT_EQ(lines.size(), 2u) << c.what;
        EXPECT_TRUE(IsMarker(lines[0], name, "File opened")) << c.what;
        EXPECT_EQ(lines[1], "kept") << c.what;
    }
}

TEST_F(LogFileTest, ALogFileRemovedOrMovedWhileOpenIsOpenedAgainOnTheNextTurn) {
    const std::string name = Name("GONE");
    const std::string path = Logs(name + ".ltt");
    LogFile log(name, 7);
    log.WriteLine("before removal\r\n");
    ASSERT_EQ(::unlink(path.c_str()), 0);
    log.SizeRollover();
    log.WriteLine("after removal\r\n");
    std::vector<std::string> lines = Lines(ReadLog(name + ".ltt"));
    ASSERT_EQ(lines.size(), 2u) << ReadLog(name + ".ltt");
    EXPECT_TRUE(IsMarker(lines[0], name, "File opened"));
    EXPECT_EQ(lines[1], "after removal");

    ASSERT_EQ(::rename(path.c_str(), Logs("moved.ltt").c_str()), 0);
    log.DayRollover();
    log.WriteLine("after move\r\n");
    lines = Lines(ReadLog(name + ".ltt"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "after move");
    EXPECT_EQ(Lines(ReadLog("moved.ltt")).size(), 2u) << "the moved file gets nothing more";
}

TEST_F(LogFileTest, WithoutTheRolloverFlagALargeLogIsLeftAlone) {
    const std::string name = Name("LARGE");
    const std::string path = Logs(name + ".ltt");
    MakeSparse(path, 60000000);
    LogFile log(name, 7);
    log.WriteLine("x\r\n");
    const off_t size = SizeOf(path);
    ASSERT_GT(size, 60000000);
    log.SizeRollover();
    log.DayRollover();
    EXPECT_TRUE(log.IsOpen());
    EXPECT_EQ(SizeOf(path), size);
    EXPECT_EQ(RegularFilesIn(Logs()), std::vector<std::string>{name + ".ltt"});
    EXPECT_FALSE(fs::exists(Archive()));
}

TEST_F(LogFileTest, RolledFilesAreNamedByTheOpenedTime) {
    PLATFORM::CalendarTime opened;
    opened.year = 2024;
    opened.month = 4;
    opened.day = 11;
    opened.hour = 9;
    opened.minute = 5;
    opened.second = 7;
    opened.milliseconds = 42;
    EXPECT_EQ(LogFile::RolledFileName("LINE007", opened), "LINE007-20240411090507042.ltt");
}

// The names of the files of other logs that the find pattern of `name` also
// lists: a longer name beginning with it, the name in other case, and the
// extension in other case.
std::vector<std::string> OtherLogsFiles(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return {name + "0.ltt", name + "0-20240411090507042.ltt", lower + ".ltt",
            lower + "-20240411090507042.ltt", name + "-20240411090507039.LTT"};
}

TEST_F(LogFileTest, SizeRolloverKeepsTheFourNewestFilesOfTheLogOnly) {
    const std::string name = Name("HOSTEL1");
    const std::string copies[] = {name + "-20240411090507040.ltt", name + "-20240411090507041.ltt",
                                  name + "-20240411090507042.ltt", name + "-20240411090507043.ltt"};
    for (int i = 0; i < 4; ++i) {
        PutFile(Logs(copies[i]), "copy", 1700000000 + i);
    }
    // Older than every copy of the log: counted as its files they would go first.
    const std::vector<std::string> others = OtherLogsFiles(name);
    for (const std::string& other : others) {
        PutFile(Logs(other), "other log", 1600000000);
    }

    LogFile log(name, 1100);
    log.SetRollover(true);
    log.WriteLine("small\r\n");
    log.SizeRollover();
    EXPECT_EQ(RegularFilesIn(Logs()).size(), 10u) << "below 50,000,000 bytes nothing rolls";

    MakeSparse(Logs(name + ".ltt"), 60000000);
    log.WriteLine("last line\r\n");
    const std::string rolled = LogFile::RolledFileName(name, log.Opened());
    log.SizeRollover();

    std::vector<std::string> kept{name + ".ltt", copies[2], copies[3], rolled};
    kept.insert(kept.end(), others.begin(), others.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(RegularFilesIn(Logs()), kept);
    EXPECT_GT(SizeOf(Logs(rolled)), 60000000);
    const std::string tail = "last line\r\n";
    std::FILE* file = std::fopen(Logs(rolled).c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::fseek(file, -static_cast<long>(tail.size()), SEEK_END);
    std::string end(tail.size(), '\0');
    EXPECT_EQ(std::fread(&end[0], 1, end.size(), file), end.size());
    std::fclose(file);
    EXPECT_EQ(end, tail);

    const std::vector<std::string> lines = Lines(ReadLog(name + ".ltt"));
    ASSERT_EQ(lines.size(), 1u) << "emptied and opened again";
    EXPECT_TRUE(IsMarker(lines[0], name, "File opened"));
    EXPECT_TRUE(log.IsOpen());
    EXPECT_FALSE(fs::exists(Archive()));
}

TEST_F(LogFileTest, DayRolloverMovesTheLogsCopiesIntoTheArchive) {
    const std::string name = Name("HOSTEL1");
    const std::string oldCopy = name + "-20240410235959999.ltt";
    PutFile(Logs(oldCopy), "old copy", 1700000000);
    const std::vector<std::string> others = OtherLogsFiles(name);
    for (const std::string& other : others) {
        PutFile(Logs(other), "other log", 1700000000);
    }
    fs::create_directories(Archive());
    PutFile(Archive(oldCopy), "stale archive", 1600000000);

    LogFile log(name, 1100);
    log.SetRollover(true);
    log.WriteLine("yesterday\r\n");
    const std::string before = ReadLog(name + ".ltt");
    const std::string rolled = LogFile::RolledFileName(name, log.Opened());
    log.DayRollover();

    std::vector<std::string> left{name + ".ltt"};
    left.insert(left.end(), others.begin(), others.end());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(RegularFilesIn(Logs()), left);
    EXPECT_EQ(RegularFilesIn(Archive()), (std::vector<std::string>{oldCopy, rolled}));
    EXPECT_EQ(dir_.Read("data/TRACELOGS/ARCHIVE/" + rolled), before);
    EXPECT_EQ(dir_.Read("data/TRACELOGS/ARCHIVE/" + oldCopy), "old copy");
    for (const std::string& other : others) {
        EXPECT_EQ(ReadLog(other), "other log") << other;
    }

    const std::vector<std::string> lines = Lines(ReadLog(name + ".ltt"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(IsMarker(lines[0], name, "File opened"));
}

TEST_F(LogFileTest, ARolloverWhoseCopyFailsKeepsTheLogsContent) {
    const std::string name = Name("KEEP");
    LogFile log(name, 7);
    log.SetRollover(true);
    log.WriteLine("keep me\r\n");
    const std::string content = ReadLog(name + ".ltt");
    // A folder where the rolled copy should go: the copy cannot be made.
    fs::create_directories(Logs(LogFile::RolledFileName(name, log.Opened())));
    log.DayRollover();
    EXPECT_EQ(ReadLog(name + ".ltt"), content);
    log.WriteLine("still here\r\n");
    EXPECT_EQ(ReadLog(name + ".ltt"), content + "still here\r\n");
}

TEST_F(LogFileTest, TheWriterPutsTraceLinesIntoTheLogOfTheirIdentity) {
    const std::string name = Name("WRITER");
    {
        LogsControl control;
        control.Stop();
        ASSERT_TRUE(control.RegisterLog(5, name));
        control.Queue().PushBack(ThreadLogData(5, 88, 3104, "2024/04/11-09:05:07:042", 3, "hello"));
        QXUTIL::ZEROMQ::ZPushService messaging;
        EXPECT_EQ(control.WriterTurn(messaging), 1u);
    }
    const std::vector<std::string> lines = Lines(ReadLog(name + "-005.ltt"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(IsMarker(lines[0], name + "-005", "File opened"));
    EXPECT_EQ(lines[1], name + "-005 3104 0088 2024/04/11-09:05:07:042 00000003 hello");
    EXPECT_TRUE(IsMarker(lines[2], name + "-005", "File closed"));
}

TEST_F(LogFileTest, TwoProcessesWritingOneLogKeepEveryLineWhole) {
    const std::string name = Name("SHARED");
    constexpr int Count = 300;
    const auto writeLines = [&name](const std::string& who) {
        LogFile log(name, 7);
        for (int i = 0; i < Count; ++i) {
            log.WriteLine(who + " " + std::to_string(i) + " " + std::string(100, 'x') + "\r\n");
        }
    };
    TESTSUPPORT::ForkedChild child([&](TESTSUPPORT::ForkedChild& self) {
        if (!self.Await()) {
            return 1;
        }
        writeLines("child");
        return 0;
    });
    child.Tell();
    writeLines("parent");
    ASSERT_EQ(child.Join(), 0);

    int opened = 0;
    int closed = 0;
    int next[2] = {0, 0};
    const std::vector<std::string> lines = Lines(ReadLog(name + ".ltt"));
    for (const std::string& line : lines) {
        if (IsMarker(line, name, "File opened")) {
            ++opened;
        } else if (IsMarker(line, name, "File closed")) {
            ++closed;
        } else {
            const int who = line.compare(0, 6, "child ") == 0 ? 1 : 0;
            const std::string expected = std::string(who ? "child" : "parent") + " " +
                                         std::to_string(next[who]++) + " " + std::string(100, 'x');
            ASSERT_EQ(line, expected);
        }
    }
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(next[0], Count);
    EXPECT_EQ(next[1], Count);
}

TEST_F(LogFileTest, ARolloverWaitsForTheLogsMutexHeldByAnotherProcess) {
    const std::string name = Name("LOCKED");
    TESTSUPPORT::ForkedChild child([&](TESTSUPPORT::ForkedChild& self) {
        LogFile log(name, 7);
        log.SetRollover(true);
        log.WriteLine("child line\r\n");
        self.Tell();
        if (!self.Await()) {
            return 1;
        }
        log.DayRollover();
        self.Tell();
        return 0;
    });
    ASSERT_TRUE(child.Await());
    {
        SEMAPHORE::MutexAutoLock lock(name, "");
        child.Tell();
        EXPECT_FALSE(child.Await(300)) << "the rollover went ahead under another's lock";
        EXPECT_FALSE(fs::exists(Archive()));
    }
    EXPECT_TRUE(child.Await());
    EXPECT_EQ(child.Join(), 0);
    const std::vector<std::string> archived = RegularFilesIn(Archive());
    ASSERT_EQ(archived.size(), 1u);
    EXPECT_NE(dir_.Read("data/TRACELOGS/ARCHIVE/" + archived[0]).find("child line\r\n"),
              std::string::npos);
}

TEST_F(LogFileTest, AWriterThatWaitedWhileAnotherRolledTheLogDoesNotRollItAgain) {
    const std::string name = Name("BOTHLARGE");
    const std::string path = Logs(name + ".ltt");
    MakeSparse(path, 60000000);
    TESTSUPPORT::ForkedChild child([&](TESTSUPPORT::ForkedChild& self) {
        LogFile log(name, 7);
        log.SetRollover(true);
        log.WriteLine("child\r\n");
        self.Tell();
        if (!self.Await()) {
            return 1;
        }
        log.SizeRollover();  // waits for the lock the parent holds
        self.Tell();
        return 0;
    });
    ASSERT_TRUE(child.Await());
    {
        // This process plays the other writer: under the log's lock it empties
        // the log, as its own rollover would.
        SEMAPHORE::MutexAutoLock lock(name, "");
        child.Tell();
        EXPECT_FALSE(child.Await(200));
        ASSERT_EQ(::truncate(path.c_str(), 0), 0);
    }
    EXPECT_TRUE(child.Await());
    EXPECT_EQ(child.Join(), 0);
    EXPECT_EQ(RegularFilesIn(Logs()), std::vector<std::string>{name + ".ltt"}) << "no second copy";
    EXPECT_LT(SizeOf(path), 1000);
}

}  // namespace
