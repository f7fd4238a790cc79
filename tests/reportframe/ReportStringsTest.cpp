#include "reportframe/ReportStrings.h"

#include <string>

#include <gtest/gtest.h>

#include "reportframe/InstallLocation.h"
#include "support/EnvironmentScope.h"
#include "support/FileOpenCounter.h"
#include "support/TempDir.h"

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";
const char kUninstall[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qxreports]\r\n";

// A machine root (QUORIX_ROOT) in a temporary folder and a registry file
// that names the install folder, as a site has them.
class LabelTableTest : public ::testing::Test {
protected:
    LabelTableTest() { ReportStrings.clear(); }
    ~LabelTableTest() override { ReportStrings.clear(); }

    // installLocation is the registry text as regedit writes it (escaped).
    void Install(const std::string& installLocation) {
        dir_.Write("registry.reg", std::string(kHeader) + kUninstall +
                                       "\"DisplayName\"=\"Quorix reports\"\r\n" +
                                       "\"InstallLocation\"=\"" + installLocation + "\"\r\n");
    }

    void Labels(const std::string& relativePath, const std::string& text) {
        dir_.Write(relativePath, text);
    }

    TESTSUPPORT::TempDir dir_;
    TESTSUPPORT::EnvironmentScope root_{"QUORIX_ROOT", dir_.Path()};
    TESTSUPPORT::EnvironmentScope registry_{"QUORIX_REGISTRY", dir_.File("registry.reg")};
};

TEST_F(LabelTableTest, InstallLocationComesFromTheRegistryWithItsSuffixes) {
    struct Case {
        const char* what;
        const char* registry;  // InstallLocation as written in the file; null: no value
        const char* suffixes[3];
        const char* expected;
    } const cases[] = {
        {"plain folder",
         "C:\\\\Quorix\\\\Reports",
         {"\\reportstrings.ini", "", ""},
         "C:\\Quorix\\Reports\\reportstrings.ini"},
        {"trailing backslash kept",
         "C:\\\\Quorix\\\\",
         {"\\reportstrings.ini", "", ""},
         "C:\\Quorix\\\\reportstrings.ini"},
        {"all suffixes", "C:\\\\Q", {"\\a", "\\b", "\\c"}, "C:\\Q\\a\\b\\c"},
        {"first suffix empty", "C:\\\\Q", {"", "\\b", "\\c"}, "C:\\Q"},
        {"second suffix empty", "C:\\\\Q", {"\\a", "", "\\c"}, "C:\\Q\\a"},
        {"empty value", "", {"\\reportstrings.ini", "", ""}, "c:\\vs\\reportstrings.ini"},
        {"no value", nullptr, {"\\reportstrings.ini", "", ""}, "c:\\vs\\reportstrings.ini"},
    };
    for (const Case& c : cases) {
        if (c.registry) {
            Install(c.registry);
        } else {
            dir_.Write("registry.reg", std::string(kHeader) + kUninstall);
        }
        EXPECT_EQ(GetInstallLocation("qxreports", "InstallLocation", "c:\\vs", c.suffixes[0],
                                     c.suffixes[1], c.suffixes[2]),
                  c.expected)
            << c.what;
    }
    Install("C:\\\\Q");
    EXPECT_EQ(GetInstallLocation("QXREPORTS", "installlocation", "d", "", "", ""), "C:\\Q");
    EXPECT_EQ(GetInstallLocation("other", "InstallLocation", "d", "\\x", "", ""), "d\\x");
    // A text that needs more than the 1023 bytes offered cannot be read.
    Install("C:\\\\" + std::string(1019, 'l'));
    EXPECT_EQ(GetInstallLocation("qxreports", "InstallLocation", "d", "", "", ""),
              "C:\\" + std::string(1019, 'l'));
    Install("C:\\\\" + std::string(1020, 'l'));
    EXPECT_EQ(GetInstallLocation("qxreports", "InstallLocation", "d", "", "", ""), "d");
}

TEST_F(LabelTableTest, LabelsFromTheInstalledFileReplaceExactSpellingsOnly) {
    Install("C:\\\\Program Files\\\\Quorix Reports");
    Labels("Program Files/Quorix Reports/reportstrings.ini",
           "; Labels of the reports\r\n"
           "[Strings]\r\n"
           "Room = Chambre\r\n"
           "tenant=Locataire\r\n"
           "Mailbox=\r\n"
           "MWI on=\"Voyant allum\xC3\xA9\"\r\n"
           "[Other]\r\n"
           "Name=Nom\r\n");
    LoadReportStrings();
    struct Case {
        const char* label;
        const char* expected;
    } const cases[] = {
        {"Room", "Chambre"},
        {"room", "room"},      // the table is case-sensitive
        {"Tenant", "Tenant"},  // key spelled in another case
        {"tenant", "Locataire"},
        {"Mailbox", "Mailbox"},  // empty value keeps the label
        {"MWI on", "Voyant allum\xC3\xA9"},
        {"Name", "Name"},  // other section
        {"Not answered", "Not answered"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetReportString(c.label), c.expected) << c.label;
    }
}

TEST_F(LabelTableTest, ALoadReadsTheLabelFileOnceHoweverManyLabelsItHolds) {
    Install("C:\\\\Reports");
    std::string text = "[Strings]\r\nRoom=Chambre\r\n";
    for (int i = 0; i < 80000; ++i) {
        text += "Label" + std::to_string(i) + "=Text" + std::to_string(i) + "\r\n";
    }
    dir_.Write("Reports/reportstrings.ini", text);
    TESTSUPPORT::FileOpenCounter opens(dir_.File("Reports/reportstrings.ini"));
    LoadReportStrings();
    EXPECT_EQ(opens.Opens(), 1);
    EXPECT_EQ(GetReportString("Room"), "Chambre");
    EXPECT_EQ(GetReportString("Label100"), "Text100");
    // Past the section listing's cut.
    EXPECT_EQ(GetReportString("Label79999"), "Label79999");
}

TEST_F(LabelTableTest, WithoutARegistryTheDefaultFolderIsUsed) {
    registry_.Set(dir_.File("absent.reg"));
    Labels("vs/reportstrings.ini", "[STRINGS]\nRoom=Zimmer\n");
    LoadReportStrings();
    EXPECT_EQ(GetReportString("Room"), "Zimmer");
}

TEST_F(LabelTableTest, ALoadReplacesTheWholeTableAndAMissingFileLeavesIt) {
    Install("C:\\\\Reports");
    Labels("Reports/reportstrings.ini", "[Strings]\nRoom=Chambre\nTenant=Locataire\n");
    LoadReportStrings();
    ASSERT_EQ(GetReportString("Tenant"), "Locataire");

    Labels("Reports/reportstrings.ini", "[Strings]\nRoom=Zimmer\n");
    LoadReportStrings();
    EXPECT_EQ(GetReportString("Room"), "Zimmer");
    EXPECT_EQ(GetReportString("Tenant"), "Tenant");

    // No file: nothing is loaded and nothing is taken away.
    Install("C:\\\\Elsewhere");
    LoadReportStrings();
    EXPECT_EQ(GetReportString("Room"), "Zimmer");
}

TEST_F(LabelTableTest, LabelsStayEnglishWhenTheFileOrSectionIsMissing) {
    Install("C:\\\\Reports");
    struct Case {
        const char* what;
        const char* file;  // relative to the machine root; null: none
        std::string text;
    } const cases[] = {
        {"no file", nullptr, ""},
        {"no section", "Reports/reportstrings.ini", "[Other]\nRoom=Chambre\n"},
        {"section without keys", "Reports/reportstrings.ini", "[Strings]\n; Room=Chambre\n"},
        {"a folder in its place", "Reports/reportstrings.ini/inner", "[Strings]\nRoom=Chambre\n"},
    };
    for (const Case& c : cases) {
        TESTSUPPORT::TempDir root;
        root_.Set(root.Path());
        if (c.file) {
            root.Write(c.file, c.text);
        }
        LoadReportStrings();
        EXPECT_TRUE(ReportStrings.empty()) << c.what;
        EXPECT_EQ(GetReportString("Room"), "Room") << c.what;
    }
}

TEST_F(LabelTableTest, DamagedFilesNeverStopTheLoad) {
    std::string garbage;
    for (int i = 0; i < 8192; ++i) {
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    }
    const std::string goodLabels = "[Strings]\nRoom=Chambre\n";
    struct Case {
        const char* what;
        std::string registry;  // whole registry file
        std::string
            labels;  // label file at c:\Reports, or at c:\vs when the registry gives nothing
        const char* room;
    } const cases[] = {
        {"garbage registry", garbage, goodLabels, "Chambre"},
        {"registry with NULs",
         std::string(kHeader) + kUninstall +
             std::string("\"InstallLocation\"=\"C:\\\\Re\0ports\"\r\n", 34),
         goodLabels, "Chambre"},
        {"registry cut in the value",
         std::string(kHeader) + kUninstall + "\"InstallLocation\"=\"C:\\\\Rep", goodLabels,
         "Chambre"},
        {"registry with a 10 MB line",
         std::string(kHeader) + kUninstall + "\"Junk\"=\"" + std::string(10 * 1024 * 1024, 'j') +
             "\"\r\n" + "\"InstallLocation\"=\"C:\\\\Reports\"\r\n",
         goodLabels, "Chambre"},
        {"garbage labels", "", garbage, "Room"},
        {"labels with NULs", "", std::string("[Strings]\nRoom=Cham\0bre\n\0\0\0", 27), "Cham"},
        {"labels after a 10 MB line", "",
         std::string(10 * 1024 * 1024, 'x') + "\n[Strings]\nRoom=Chambre\n", "Chambre"},
        // The line fills the section buffer; what follows it is past the cut.
        {"labels behind a 10 MB entry", "",
         "[Strings]\n" + std::string(10 * 1024 * 1024, 'x') + "\nRoom=Chambre\n", "Room"},
        {"labels cut", "", "[Strings]\nRoom=Chambre\nTen", "Chambre"},
    };
    for (const Case& c : cases) {
        TESTSUPPORT::TempDir root;
        root_.Set(root.Path());
        dir_.Write("registry.reg", c.registry.empty()
                                       ? std::string(kHeader) + kUninstall +
                                             "\"InstallLocation\"=\"C:\\\\Reports\"\r\n"
                                       : c.registry);
        const bool registryNamesReports =
            c.registry.empty() || c.registry.find("C:\\\\Reports\"") != std::string::npos;
        root.Write(registryNamesReports ? "Reports/reportstrings.ini" : "vs/reportstrings.ini",
                   c.labels);
        ReportStrings.clear();
        LoadReportStrings();
        EXPECT_EQ(GetReportString("Room"), c.room) << c.what;
    }
}

}  // namespace
