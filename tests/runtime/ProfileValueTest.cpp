#include "runtime/ProfileValue.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "platform/Win32Error.h"
#include "support/EnvironmentScope.h"
#include "support/TempDir.h"

using QXUTIL::ProfileValue;

namespace {

const char kKey[] = "Software\\ProfileValueTest";

class ProfileValueTest : public ::testing::Test {
protected:
    ProfileValueTest() {
        registry_.Set(dir_.Write("registry.reg",
                                 "Windows Registry Editor Version 5.00\r\n\r\n"
                                 "[HKEY_LOCAL_MACHINE\\Software\\ProfileValueTest]\r\n"
                                 "\"Text\"=\"Chambre\"\r\n"
                                 "\"Number\"=dword:fffffffe\r\n"
                                 "\"List\"=hex(7):61,00,00,00,00,00,62,00,63,00,00,00,00,00\r\n"
                                 "\"EmptyList\"=hex(7):00,00,00,00\r\n"
                                 "\"OpenList\"=hex(7):61,00,00,00,62,00\r\n"
                                 "\"ShortNumber\"=hex(4):01\r\n"
                                 "\"Unended\"=hex(1):61,00,62,00\r\n"
                                 "\"Expand\"=hex(2):61,00,00,00\r\n"));
        ini_ = dir_.Write("labels.ini", "[Strings]\nRoom = \"Chambre\" \nEmpty=\nLong=" +
                                            std::string(3000, 'L') + "\n");
    }

    ProfileValue Registry(const char* name) {
        ProfileValue value(PLATFORM::REG_SZ, name, PLATFORM::HKEY_LOCAL_MACHINE, kKey, "");
        EXPECT_EQ(value.Read(), PLATFORM::ERROR_SUCCESS) << name;
        return value;
    }

    ProfileValue Ini(const char* name) {
        ProfileValue value(PLATFORM::REG_SZ, name, nullptr, ini_, "STRINGS");
        EXPECT_EQ(value.Read(), PLATFORM::ERROR_SUCCESS) << name;
        return value;
    }

    static std::string Text(const ProfileValue& value) {
        std::string out = "stale";
        EXPECT_EQ(&value.GetString(out, "default"), &out);
        return out;
    }

    TESTSUPPORT::TempDir dir_;
    TESTSUPPORT::EnvironmentScope registry_{"QUORIX_REGISTRY"};
    std::string ini_;
};

TEST_F(ProfileValueTest, RegistryValuesBecomeText) {
    struct Case {
        const char* name;
        std::uint32_t type;
        const char* text;
    } const cases[] = {
        {"Text", PLATFORM::REG_SZ, "Chambre"},
        {"Number", PLATFORM::REG_DWORD, "4294967294"},
        {"List", PLATFORM::REG_MULTI_SZ, "a,bc,"},
        {"EmptyList", PLATFORM::REG_MULTI_SZ, "default"},
        // The last item counts even without its closing NUL.
        {"OpenList", PLATFORM::REG_MULTI_SZ, "a,b,"},
        {"Expand", PLATFORM::REG_EXPAND_SZ, "default"},
        // Malformed data is never read past its end.
        {"ShortNumber", PLATFORM::REG_DWORD, "default"},
        {"Unended", PLATFORM::REG_SZ, "ab"},
    };
    for (const Case& c : cases) {
        const ProfileValue value = Registry(c.name);
        EXPECT_EQ(value.Type(), c.type) << c.name;
        EXPECT_EQ(Text(value), c.text) << c.name;
    }
    std::vector<std::string> items{"stale"};
    Registry("List").GetStrings(items);
    EXPECT_EQ(items, (std::vector<std::string>{"a", "bc"}));
    Registry("Text").GetStrings(items);
    EXPECT_TRUE(items.empty());
}

TEST_F(ProfileValueTest, RegistryErrorsLeaveNoData) {
    ProfileValue missingValue(PLATFORM::REG_SZ, "Absent", PLATFORM::HKEY_LOCAL_MACHINE, kKey, "");
    EXPECT_EQ(missingValue.Read(), PLATFORM::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missingValue.Size(), 0u);
    EXPECT_EQ(Text(missingValue), "default");

    ProfileValue missingKey(PLATFORM::REG_SZ, "Text", PLATFORM::HKEY_LOCAL_MACHINE,
                            "Software\\Nothing", "");
    EXPECT_EQ(missingKey.Read(), PLATFORM::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Text(missingKey), "default");

    ProfileValue noPlace(PLATFORM::REG_SZ, "Text", PLATFORM::HKEY_LOCAL_MACHINE, "", "");
    EXPECT_EQ(noPlace.Read(), PLATFORM::ERROR_SUCCESS);
    EXPECT_EQ(noPlace.Data(), nullptr);

    // A read that fails after one that worked drops the old data.
    ProfileValue reread = Registry("Text");
    registry_.Set(dir_.File("gone.reg"));
    EXPECT_EQ(reread.Read(), PLATFORM::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reread.Size(), 0u);
}

TEST_F(ProfileValueTest, IniValuesAreReadThroughA2048ByteBuffer) {
    const ProfileValue room = Ini("room");
    EXPECT_EQ(room.Size(), 8u);
    EXPECT_EQ(Text(room), "Chambre");

    const ProfileValue longValue = Ini("Long");
    EXPECT_EQ(longValue.Size(), 2048u);
    EXPECT_EQ(Text(longValue), std::string(2047, 'L'));

    for (const char* name : {"Empty", "Absent"}) {
        const ProfileValue value = Ini(name);
        EXPECT_EQ(value.Data(), nullptr) << name;
        EXPECT_EQ(Text(value), "default") << name;
    }
    std::vector<std::string> items{"stale"};
    room.GetStrings(items);
    EXPECT_TRUE(items.empty());
}

TEST_F(ProfileValueTest, CopiesOwnTheirData) {
    auto original = std::make_unique<ProfileValue>(Ini("Room"));
    ProfileValue copied(*original);
    ProfileValue assigned = Ini("Long");
    assigned = *original;
    assigned = assigned;
    original.reset();
    EXPECT_EQ(Text(copied), "Chambre");
    EXPECT_EQ(Text(assigned), "Chambre");
    EXPECT_NE(copied.Data(), assigned.Data());
}

}  // namespace
