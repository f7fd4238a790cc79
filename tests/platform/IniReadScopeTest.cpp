#include "platform/IniReadScope.h"

#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/IniProfile.h"
#include "support/FileOpenCounter.h"
#include "support/TempDir.h"

using namespace PLATFORM;

namespace {

class IniReadScopeTest : public ::testing::Test {
protected:
    IniReadScopeTest() {
        std::string text = "[Other]\nRoom=elsewhere\n[Strings]\n";
        for (int i = 0; i < 2000; ++i) {
            text += "Key" + std::to_string(i) + "=Value" + std::to_string(i) + "\n";
        }
        text += "room=second spelling\n[strings]\nLate=second section\n";
        path_ = dir_.Write("settings.ini", text);
    }

    std::string Value(const char* section, const char* key) const {
        char buffer[64];
        const std::uint32_t n =
            GetPrivateProfileStringA(section, key, "dflt", buffer, sizeof buffer, path_.c_str());
        return std::string(buffer, n);
    }

    TESTSUPPORT::TempDir dir_;
    std::string path_;
};

TEST_F(IniReadScopeTest, InAScopeEveryReadOfAFileAnswersFromOneReading) {
    TESTSUPPORT::FileOpenCounter opens(path_);
    {
        const IniReadScope scope;
        for (int i = 0; i < 2000; i += 7) {
            ASSERT_EQ(Value("STRINGS", ("key" + std::to_string(i)).c_str()),
                      "Value" + std::to_string(i));
        }
        // The rules hold as without a scope: first section of a name, first
        // entry of a key in any case, each section on its own.
        EXPECT_EQ(Value("Strings", "Late"), "dflt");
        EXPECT_EQ(Value("Strings", "ROOM"), "second spelling");
        EXPECT_EQ(Value("Other", "Room"), "elsewhere");
        char list[16];
        EXPECT_EQ(GetPrivateProfileSectionA("Strings", list, sizeof list, path_.c_str()), 14u);
        EXPECT_EQ(std::string(list, 16), std::string("Key0=Value0\0Ke\0\0", 16));
        {
            const IniReadScope inner;  // shares the outer scope's reading
            EXPECT_EQ(Value("Strings", "Key1999"), "Value1999");
        }
        EXPECT_EQ(Value("Strings", "Key5"), "Value5");
        EXPECT_EQ(opens.Opens(), 1);
    }
    // Without a scope each read loads the file again.
    EXPECT_EQ(Value("Strings", "Key1"), "Value1");
    EXPECT_EQ(Value("Strings", "Key2"), "Value2");
    EXPECT_EQ(opens.Opens(), 3);
}

TEST_F(IniReadScopeTest, WritesOnTheThreadAreSeenAndOtherChangesAfterTheScope) {
    const IniReadScope scope;
    ASSERT_EQ(Value("Strings", "Key1"), "Value1");

    ASSERT_TRUE(WritePrivateProfileStringA("Strings", "Key1", "written", path_.c_str()));
    EXPECT_EQ(Value("Strings", "Key1"), "written");
    EXPECT_EQ(Value("Strings", "Key2"), "Value2");

    // Changed by someone else: this thread's scope keeps what it read, while
    // another thread, outside any scope, reads the file as it is now.
    dir_.Write("settings.ini", "[Strings]\nKey1=changed\n");
    EXPECT_EQ(Value("Strings", "Key1"), "written");
    std::string elsewhere;
    std::thread other([this, &elsewhere] { elsewhere = Value("Strings", "Key1"); });
    other.join();
    EXPECT_EQ(elsewhere, "changed");
}

TEST_F(IniReadScopeTest, AScopeEndedLeavesNothingBehind) {
    {
        const IniReadScope scope;
        ASSERT_EQ(Value("Strings", "Key1"), "Value1");
    }
    dir_.Write("settings.ini", "[Strings]\nKey1=changed\n");
    EXPECT_EQ(Value("Strings", "Key1"), "changed");
    const IniReadScope next;
    EXPECT_EQ(Value("Strings", "Key1"), "changed");
    EXPECT_EQ(Value("Strings", "Key2"), "dflt");
}

}  // namespace
