#include "runtime/ProfileEdit.h"

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "platform/Win32Error.h"
#include "support/EnvironmentScope.h"
#include "support/FileOpenCounter.h"
#include "support/TempDir.h"

using QXUTIL::ProfileEdit;

namespace {

class ProfileEditTest : public ::testing::Test {
protected:
    ProfileEditTest() {
        ini_ = dir_.Write("labels.ini",
                          "[Strings]\n"
                          "Room=Chambre\n"
                          "Tenant=\n"
                          "Dup=first\n"
                          "dup=second\n"
                          "flag\n"
                          "x\n"
                          "[Blank]\n"
                          "; only a comment\n");
        registry_.Set(dir_.Write("registry.reg",
                                 "Windows Registry Editor Version 5.00\r\n"
                                 "[HKEY_LOCAL_MACHINE\\Software\\ProfileEditTest]\r\n"
                                 "\"Room\"=\"Chambre\"\r\n"));
    }

    static std::string Text(const QXUTIL::ProfileValue& value) {
        std::string out;
        return value.GetString(out, "default");
    }

    TESTSUPPORT::TempDir dir_;
    TESTSUPPORT::EnvironmentScope registry_{"QUORIX_REGISTRY"};
    std::string ini_;
};

TEST_F(ProfileEditTest, ListsEveryKeyOfTheSectionWithItsValue) {
    ProfileEdit edit;
    ASSERT_EQ(edit.OpenIni(ini_, "STRINGS", false), 0);
    const auto values = edit.GetValues();
    ASSERT_EQ(values.size(), 5u);
    EXPECT_EQ(Text(values.at("Room")), "Chambre");
    EXPECT_EQ(values.at("Tenant").Size(), 0u);
    EXPECT_EQ(Text(values.at("Tenant")), "default");
    // Both spellings are listed; each is read again by name, which finds the
    // first entry of the key whatever its case.
    EXPECT_EQ(Text(values.at("Dup")), "first");
    EXPECT_EQ(Text(values.at("dup")), "first");
    EXPECT_EQ(Text(values.at("flag")), "default");
    EXPECT_EQ(values.count("x"), 0u);
}

TEST_F(ProfileEditTest, GetValuesReadsTheFileOnce) {
    ProfileEdit edit;
    ASSERT_EQ(edit.OpenIni(ini_, "Strings", false), 0);
    TESTSUPPORT::FileOpenCounter opens(ini_);
    EXPECT_EQ(edit.GetValues().size(), 5u);
    EXPECT_EQ(opens.Opens(), 1);
}

TEST_F(ProfileEditTest, OpenIniTellsWhetherTheSectionHoldsKeys) {
    struct Case {
        const char* what;
        std::string file;
        std::string section;
        int result;
    } const cases[] = {
        {"keys", ini_, "Strings", 0},          {"no keys", ini_, "Blank", 1},
        {"no section", ini_, "Missing", 1},    {"no file", dir_.File("absent.ini"), "Strings", 1},
        {"empty file name", "", "Strings", 1}, {"empty section", ini_, "", 1},
    };
    for (const Case& c : cases) {
        ProfileEdit edit;
        EXPECT_EQ(edit.OpenIni(c.file, c.section, false), c.result) << c.what;
        EXPECT_EQ(edit.GetValues().empty(), c.result != 0) << c.what;
    }
    ProfileEdit edit;
    EXPECT_EQ(edit.OpenIni(dir_.File("absent.ini"), "Strings", true), 0);
    EXPECT_TRUE(edit.GetValues().empty());
}

TEST_F(ProfileEditTest, ReopeningReplacesThePlace) {
    ProfileEdit edit;
    ASSERT_EQ(edit.OpenIni(ini_, "Strings", false), 0);
    EXPECT_EQ(edit.OpenIni("", "Strings", false), 1);
    EXPECT_TRUE(edit.GetValues().empty());
}

TEST_F(ProfileEditTest, RegistryModeOpensKeysAndListsNothing) {
    ProfileEdit edit;
    EXPECT_EQ(edit.OpenRegistry(PLATFORM::HKEY_LOCAL_MACHINE, "software\\profileedittest", false),
              0);
    EXPECT_TRUE(edit.GetValues().empty());

    ProfileEdit missing;
    EXPECT_EQ(
        missing.OpenRegistry(PLATFORM::HKEY_LOCAL_MACHINE, "Software\\ProfileEditTest\\New", false),
        PLATFORM::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(
        missing.OpenRegistry(PLATFORM::HKEY_LOCAL_MACHINE, "Software\\ProfileEditTest\\New", true),
        0);
    EXPECT_EQ(
        missing.OpenRegistry(PLATFORM::HKEY_LOCAL_MACHINE, "Software\\ProfileEditTest\\New", false),
        0);
    EXPECT_TRUE(missing.GetValues().empty());

    // Once in registry mode, an INI section is not listed either.
    ASSERT_EQ(edit.OpenIni(ini_, "Strings", false), 0);
    EXPECT_TRUE(edit.GetValues().empty());
}

}  // namespace
