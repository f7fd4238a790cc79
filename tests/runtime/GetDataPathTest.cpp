#include "runtime/GetDataPath.h"

#include <string>

#include <gtest/gtest.h>

#include "DataLocationRegistry.h"
#include "support/EnvironmentScope.h"
#include "support/TempDir.h"

namespace {

TEST(GetDataPathTest, BuildsPathsBelowTheRegistryFolderOrTheDefault) {
    const char* none = nullptr;
    const struct {
        const char* registry;  // the export's text after the key line; null: no registry file
        std::string subfolder, a, b, c;
        std::string expected;
    } cases[] = {
        {none, "\\TRACELOGS", "", "", "", "C:\\vs\\TRACELOGS"},
        {"", "\\TRACELOGS", "", "", "", "C:\\vs\\TRACELOGS"},
        {"\"DataLocation\"=\"\"\r\n", "\\TRACELOGS", "", "", "", "C:\\vs\\TRACELOGS"},
        {"\"Other\"=\"D:\\\\x\"\r\n", "", "", "", "", "C:\\vs"},
        {"\"DataLocation\"=\"D:\\\\data\"\r\n", "TRACELOGS", "", "", "", "D:\\data\\TRACELOGS"},
        {"\"DataLocation\"=\"D:\\\\data\\\\\"\r\n", "\\TRACELOGS", "", "", "",
         "D:\\data\\\\TRACELOGS"},
        {"\"DataLocation\"=\"D:\\\\data\"\r\n", "\\TRACELOGS", "ARCHIVE", "\\x.ltt", "",
         "D:\\data\\TRACELOGS\\ARCHIVE\\x.ltt"},
        {"\"DataLocation\"=\"D:\\\\data\"\r\n", "\\T", "a", "", "c", "D:\\data\\T\\a\\c"},
        {"\"DataLocation\"=\"D:\\\\data\"\r\n", "\\T", "", "b", "c", "D:\\data\\T"},
        {"\"DataLocation\"=\"D:\\\\data\"\r\n", "", "a", "b", "c", "D:\\data"},
        {"\"dataLOCATION\"=\"/srv/data\"\r\n", "\\TRACELOGS", "\\L.ltt", "", "",
         "/srv/data\\TRACELOGS\\L.ltt"},
    };
    TESTSUPPORT::TempDir dir;
    TESTSUPPORT::EnvironmentScope registry("QUORIX_REGISTRY", dir.File("absent.reg"));
    for (const auto& c : cases) {
        if (c.registry) {
            registry.Set(dir.Write("registry.reg", KeldenKeyExport(c.registry)));
        }
        std::string out = "stale";
        GetDataPath(out, c.subfolder, c.a, c.b, c.c);
        EXPECT_EQ(out, c.expected)
            << (c.registry ? c.registry : "(no registry)") << " " << c.subfolder;
    }
}

TEST(GetDataPathTest, AValueTooLongForTheBufferGivesTheDefault) {
    TESTSUPPORT::TempDir dir;
    const std::string longFolder = "D:\\" + std::string(1100, 'x');
    TESTSUPPORT::EnvironmentScope registry(
        "QUORIX_REGISTRY",
        dir.Write("registry.reg", KeldenKeyExport(DataLocationLine(longFolder))));
    std::string out;
    GetDataPath(out, "\\TRACELOGS");
    EXPECT_EQ(out, "C:\\vs\\TRACELOGS");
}

}  // namespace
