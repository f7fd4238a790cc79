#include "platform/NativePath.h"

#include <gtest/gtest.h>

#include "support/EnvironmentScope.h"

namespace {

struct PathCase {
    const char* root;  // QUORIX_ROOT, null: unset
    const char* path;
    const char* expected;
};

TEST(NativePath, TranslatesWindowsPathsAndLeavesPosixPathsAlone) {
    const PathCase cases[] = {
        {"/srv/q", "c:\\vs\\TRACELOGS", "/srv/q/vs/TRACELOGS"},
        {"/srv/q", "D:\\vs\\TRACELOGS", "/srv/q/vs/TRACELOGS"},
        {"/srv/q/", "C:\\vs", "/srv/q/vs"},
        {"/srv/q", "C:", "/srv/q"},
        {"/srv/q", "C:\\", "/srv/q/"},
        {"/srv/q", "z:rel\\x.ini", "/srv/q/rel/x.ini"},
        {"/srv/q", "c:\\vs\\\\reportstrings.ini", "/srv/q/vs//reportstrings.ini"},
        {nullptr, "c:\\vs\\TRACELOGS", "/vs/TRACELOGS"},
        {"", "C:\\temp\\report.csv", "/temp/report.csv"},
        {"/", "c:\\vs", "/vs"},
        {"/srv/q", "\\reportstrings.ini", "/reportstrings.ini"},
        {"/srv/q", "dir\\file.csv", "dir/file.csv"},
        {"/srv/q", "/tmp/r.csv", "/tmp/r.csv"},
        {"/srv/q", "r.csv", "r.csv"},
        {"/srv/q", "1:\\x", "1:/x"},
        {"/srv/q", "", ""},
    };
    for (const PathCase& c : cases) {
        TESTSUPPORT::EnvironmentScope root("QUORIX_ROOT");
        if (c.root) {
            root.Set(c.root);
        }
        EXPECT_EQ(PLATFORM::NativePath(c.path), c.expected)
            << "path " << c.path << " root " << (c.root ? c.root : "(unset)");
    }
}

}  // namespace
