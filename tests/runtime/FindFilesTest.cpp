#include "runtime/FindFiles.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/EnvironmentScope.h"
#include "support/TempDir.h"

namespace {

// A folder of files with chosen last-write times, reached as C:\logs.
class FindFilesTest : public ::testing::Test {
protected:
    void Put(const std::string& name, const std::string& content, std::int64_t writeTime) {
        const std::string path = dir_.Write("logs/" + name, content);
        const struct timespec times[2] = {{writeTime, 0}, {writeTime, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    static std::vector<std::string> Names(const std::vector<QXUTIL::File>& files) {
        std::vector<std::string> names;
        for (const auto& file : files) {
            names.push_back(file.Name());
        }
        return names;
    }

    static std::vector<std::string> Sorted(std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    }

    TESTSUPPORT::TempDir dir_;
    TESTSUPPORT::EnvironmentScope root_{"QUORIX_ROOT", dir_.Path()};
};

TEST_F(FindFilesTest, ListsMatchingFilesInAnyCaseButNoFolders) {
    Put("LINE007.ltt", "12345", 1700000000);
    Put("line007-20240411090507042.LTT", "", 1700000001);
    Put("LINE008.ltt", "", 1700000002);
    Put("LINE007.txt", "", 1700000003);
    dir_.MakeDir("logs/LINE007-folder.ltt");

    QXUTIL::FindFiles finder;
    EXPECT_EQ(finder.Find("C:\\logs", "LINE007*.ltt"), 2u);
    EXPECT_EQ(Sorted(Names(finder.Files())),
              (std::vector<std::string>{"LINE007.ltt", "line007-20240411090507042.LTT"}));

    const auto& files = finder.Files();
    const auto found = std::find_if(files.begin(), files.end(), [](const QXUTIL::File& f) {
        return f.Name() == "LINE007.ltt";
    });
    ASSERT_NE(found, files.end());
    EXPECT_EQ(found->Kind(), QXUTIL::File::kKindFile);
    EXPECT_EQ(found->Path(), "C:\\logs\\LINE007.ltt");
    EXPECT_EQ(found->Size(), 5u);
    EXPECT_EQ(found->WriteTime(), 1700000000);
    const auto lower = std::find_if(files.begin(), files.end(), [](const QXUTIL::File& f) {
        return f.Name() != "LINE007.ltt";
    });
    EXPECT_EQ(lower->UpperName(), "LINE007-20240411090507042.LTT");
    EXPECT_EQ(lower->UpperPath(), "C:\\LOGS\\LINE007-20240411090507042.LTT");
}

TEST_F(FindFilesTest, AShorterLogNameAlsoMatchesLongerOnes) {
    Put("HOSTEL1.ltt", "", 1700000000);
    Put("HOSTEL10.ltt", "", 1700000000);
    Put("HOSTEL10-20240411090507042.ltt", "", 1700000000);
    QXUTIL::FindFiles finder;
    EXPECT_EQ(finder.Find("C:\\logs", "HOSTEL1*.ltt"), 3u);
}

TEST_F(FindFilesTest, FindAddsToWhatWasCollectedUntilClear) {
    Put("a.ltt", "", 1700000000);
    QXUTIL::FindFiles finder;
    EXPECT_EQ(finder.Find("C:\\logs", "*.ltt"), 1u);
    EXPECT_EQ(finder.Find("C:\\logs", "*.ltt"), 2u);
    EXPECT_EQ(finder.Find("C:\\logs", "*.none"), 2u);
    EXPECT_EQ(finder.Find("C:\\missing", "*.ltt"), 2u);
    finder.Clear();
    EXPECT_TRUE(finder.Files().empty());
    EXPECT_EQ(finder.Find("C:\\logs", "A.LTT"), 1u);
}

TEST_F(FindFilesTest, SortByTimeKeepsFilesOfOneSecondInCollectionOrder) {
    Put("new.ltt", "", 1700000300);
    Put("old.ltt", "", 1700000100);
    Put("same1.ltt", "", 1700000200);
    Put("same2.ltt", "", 1700000200);
    Put("same3.ltt", "", 1700000200);
    QXUTIL::FindFiles finder;
    ASSERT_EQ(finder.Find("C:\\logs", "*.ltt"), 5u);

    std::vector<std::string> sameInCollection;
    for (const auto& file : finder.Files()) {
        if (file.WriteTime() == 1700000200) {
            sameInCollection.push_back(file.Name());
        }
    }
    std::vector<std::string> keys;
    std::vector<std::string> names;
    for (const auto& entry : finder.SortByTime()) {
        keys.push_back(entry.first);
        names.push_back(entry.second.Name());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"1700000100", "1700000200", "1700000200",
                                              "1700000200", "1700000300"}));
    EXPECT_EQ(names.front(), "old.ltt");
    EXPECT_EQ(std::vector<std::string>(names.begin() + 1, names.begin() + 4), sameInCollection);
    EXPECT_EQ(names.back(), "new.ltt");
}

// A lister that keeps only what its own OnFile accepts.
class LargeFiles : public QXUTIL::FindFiles {
public:
    bool OnFile(const QXUTIL::File& file) override {
        seen.push_back(file.Name());
        return file.Size() > 2 && FindFiles::OnFile(file);
    }

    std::vector<std::string> seen;
};

TEST_F(FindFilesTest, ADerivedListerSeesEveryFileAndChoosesWhatIsKept) {
    Put("small.ltt", "1", 1700000000);
    Put("large.ltt", "12345", 1700000000);
    LargeFiles finder;
    EXPECT_EQ(finder.Find("C:\\logs", "*.ltt"), 1u);
    EXPECT_EQ(Sorted(finder.seen), (std::vector<std::string>{"large.ltt", "small.ltt"}));
    EXPECT_EQ(Names(finder.Files()), std::vector<std::string>{"large.ltt"});
}

}  // namespace
