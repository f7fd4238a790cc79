#include "platform/AbsolutePath.h"

#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

// Runs the test's body in a folder of its own and goes back afterwards.
class InFolder {
public:
    explicit InFolder(const std::string& folder) {
        EXPECT_NE(::getcwd(previous_, sizeof previous_), nullptr);
        EXPECT_EQ(::chdir(folder.c_str()), 0);
    }
    ~InFolder() { EXPECT_EQ(::chdir(previous_), 0); }

private:
    char previous_[4096];
};

TEST(AbsolutePath, ResolvesAgainstTheCurrentFolderAndDropsDotsOnly) {
    TESTSUPPORT::TempDir dir;
    const std::string here = dir.Path();
    const InFolder in(here);
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {"rel.csv", here + "/rel.csv"},
        {"./rel.csv", here + "/rel.csv"},
        {"sub//./r.csv", here + "/sub/r.csv"},
        {"../r.csv", here + "/../r.csv"},
        {"sub/", here + "/sub/"},
        {".", here},
        {"/tmp/r.csv", "/tmp/r.csv"},
        {"//tmp/./r.csv", "/tmp/r.csv"},
        {"/", "/"},
        {"/tmp/rapport-\xC3\xA9t\xC3\xA9.csv", "/tmp/rapport-\xC3\xA9t\xC3\xA9.csv"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PLATFORM::AbsolutePath(c.path), c.expected) << c.path;
    }
}

TEST(AbsolutePath, IsEmptyForARelativePathWhenTheCurrentFolderIsGone) {
    TESTSUPPORT::TempDir dir;
    const std::string gone = dir.MakeDir("gone");
    const InFolder in(gone);
    ASSERT_EQ(::rmdir(gone.c_str()), 0);
    EXPECT_EQ(PLATFORM::AbsolutePath("r.csv"), "");
    EXPECT_EQ(PLATFORM::AbsolutePath("/tmp/r.csv"), "/tmp/r.csv");
}

}  // namespace
