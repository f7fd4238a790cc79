#include "reportframe/ReportFileNames.h"

#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "runtime/DateTime.h"
#include "runtime/TimeText.h"
#include "support/EnvironmentScope.h"
#include "support/TempDir.h"

namespace {

using TESTSUPPORT::EnvironmentScope;
using TESTSUPPORT::TempDir;

const char kStaytallyPattern[] = "GA%Y%m%d%H%M.csv";

// Runs `make` until two readings of the clock around it fall in the same
// minute, so that the expected name is known.
template <typename Make>
std::pair<std::string, std::string> NameAndMinute(Make make) {
    for (;;) {
        const std::string before = FormatDateTime(DateTime::Now(), "%Y%m%d%H%M");
        std::string name = make();
        if (FormatDateTime(DateTime::Now(), "%Y%m%d%H%M") == before) {
            return {name, before};
        }
    }
}

bool IsEmptyPrivateFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0 &&
           (info.st_mode & 0777) == 0600;
}

TEST(MakeReportFileName, PutsTheProgramsPatternOfNowInTheTempFolder) {
    TempDir dir;
    struct Case {
        const char* tmpdir;  // nullptr: unset
        std::string folder;
    };
    const Case cases[] = {
        {nullptr, "/tmp/"},
        {"", "/tmp/"},
        {"/var/tmp", "/var/tmp/"},
        {"/var/tmp/", "/var/tmp/"},
    };
    for (const Case& c : cases) {
        EnvironmentScope tmpdir("TMPDIR");
        if (c.tmpdir != nullptr) {
            tmpdir.Set(c.tmpdir);
        }
        const auto [name, minute] =
            NameAndMinute([] { return MakeReportFileName(kStaytallyPattern); });
        EXPECT_EQ(name, c.folder + "GA" + minute + ".csv");
    }
    EnvironmentScope tmpdir("TMPDIR", dir.Path());
    const auto [name, minute] = NameAndMinute([] { return MakeReportFileName(kStaytallyPattern); });
    EXPECT_EQ(name, dir.Path() + "/GA" + minute + ".csv");
    EXPECT_NE(access(name.c_str(), F_OK), 0) << "the name is only made, not the file";
}

TEST(MakeReportFileName, GivesTheSameNameWithinAMinute) {
    const auto [names, minute] = NameAndMinute([] {
        return MakeReportFileName(kStaytallyPattern) + "|" + MakeReportFileName(kStaytallyPattern);
    });
    const std::string first = names.substr(0, names.find('|'));
    EXPECT_EQ(names, first + "|" + first);
}

TEST(MakeReportFileName, UsesTheCurrentFolderWhenTheTempFolderIsTooLong) {
    // 259 characters with the separator still fit the 260 of the folder buffer; 260 do not.
    const std::string fits = "/" + std::string(257, 'd');
    EnvironmentScope tmpdir("TMPDIR", fits);
    EXPECT_EQ(
        NameAndMinute([] { return MakeReportFileName(kStaytallyPattern); }).first.substr(0, 259),
        fits + "/");
    tmpdir.Set(fits + "d");
    const auto [name, minute] = NameAndMinute([] { return MakeReportFileName(kStaytallyPattern); });
    EXPECT_EQ(name, ".\\GA" + minute + ".csv");
}

TEST(MakeReportFileName, FollowsThePatternItIsGiven) {
    TempDir dir;
    EnvironmentScope tmpdir("TMPDIR", dir.Path());
    for (const char* prefix : {"GA", "MDS", "WU"}) {
        const std::string pattern = std::string(prefix) + "%Y%m%d%H%M.csv";
        const auto [name, minute] =
            NameAndMinute([&pattern] { return MakeReportFileName(pattern); });
        EXPECT_EQ(name, dir.Path() + "/" + prefix + minute + ".csv");
    }
}

TEST(NumberedFileName, PutsTheNumberBeforeTheExtensionOfTheLastName) {
    const struct {
        const char* path;
        int number;
        const char* expected;
    } cases[] = {
        {"/tmp/GA202612101144.csv", 2, "/tmp/GA202612101144-2.csv"},
        {"/tmp/GA202612101144.csv", 17, "/tmp/GA202612101144-17.csv"},
        {".\\WU202612101144.csv", 3, ".\\WU202612101144-3.csv"},
        {"/tmp.d/report", 2, "/tmp.d/report-2"},
        {"C:\\x.d\\report", 2, "C:\\x.d\\report-2"},
        {"/tmp/.hidden", 2, "/tmp/.hidden-2"},
        {"r.a.csv", 2, "r.a-2.csv"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberedFileName(c.path, c.number), c.expected) << c.path;
    }
}

TEST(MakeTempFileName, CreatesAnEmptyPrivateFileWithTheWholePrefix) {
    TempDir dir;
    EnvironmentScope tmpdir("TMPDIR", dir.Path());
    std::set<std::string> names;
    for (const char* prefix : {"gr", "mds", "wr", "gr"}) {
        const std::string name = MakeTempFileName(prefix);
        EXPECT_EQ(name.rfind(dir.Path() + "/" + prefix, 0), 0u) << name;
        EXPECT_EQ(name.substr(name.size() - 4), ".tmp");
        EXPECT_TRUE(IsEmptyPrivateFile(name)) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 4u) << "every call makes a new file";
}

TEST(MakeTempFileName, FallsBackToATimeNameInTheCurrentFolder) {
    TempDir dir;
    EnvironmentScope tmpdir("TMPDIR", dir.File("missing"));
    const std::string name = MakeTempFileName("gr");
    // ".\" + %Y%m%d (8) + %I (2) + %M%S%s (7) + ".tmp"
    ASSERT_EQ(name.size(), 23u) << name;
    EXPECT_EQ(name.substr(0, 2), ".\\");
    EXPECT_EQ(name.substr(19), ".tmp");
    EXPECT_EQ(name.find_first_not_of("0123456789", 2), 19u) << name;
    EXPECT_EQ(name.substr(2, 8), FormatDateTime(DateTime::Now(), "%Y%m%d"));
    const int hour = std::stoi(name.substr(10, 2));
    EXPECT_GE(hour, 1) << "hour on the 12-hour clock";
    EXPECT_LE(hour, 12);
    EXPECT_NE(access(dir.File("missing").c_str(), F_OK), 0);
}

TEST(MakeTempFileName, MakesTheFileInTheCurrentFolderWhenTheTempFolderIsTooLong) {
    TempDir dir;
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    EnvironmentScope tmpdir("TMPDIR", "/" + std::string(300, 'd'));
    const std::string name = MakeTempFileName("gr");
    EXPECT_EQ(name.rfind("./gr", 0), 0u) << name;
    EXPECT_TRUE(IsEmptyPrivateFile(dir.File(name.substr(2)))) << name;
    ASSERT_EQ(chdir(here), 0);
}

}  // namespace
