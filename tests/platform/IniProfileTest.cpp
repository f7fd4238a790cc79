#include "platform/IniProfile.h"

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/TextEncoding.h"
#include "support/EnvironmentScope.h"
#include "support/TempDir.h"

using namespace PLATFORM;

namespace {

class IniProfileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& text) { return path_ = dir_.Write("settings.ini", text); }

    std::string Value(const char* section, const char* key, const char* defaultText = "dflt",
                      std::uint32_t size = 256) {
        std::vector<char> buffer(size + 1, '#');
        const std::uint32_t n =
            GetPrivateProfileStringA(section, key, defaultText, buffer.data(), size, path_.c_str());
        EXPECT_EQ(buffer[n], '\0');
        return std::string(buffer.data(), n);
    }

    // The section buffer with its NULs; the return value is checked against
    // the documented rule.
    std::string Section(const char* section, std::uint32_t size, std::uint32_t& returned) {
        std::vector<char> buffer(size, '#');
        returned = GetPrivateProfileSectionA(section, buffer.data(), size, path_.c_str());
        return std::string(buffer.data(), size);
    }

    TESTSUPPORT::TempDir dir_;
    std::string path_;
};

TEST_F(IniProfileTest, ReadsValuesAsWindowsDoes) {
    Write(
        "top=outside\r\n"
        "[Strings]\r\n"
        "; Room=commented out\r\n"
        "  Room  =  Chambre  \r\n"
        "Quoted=\"  spaced  \"\r\n"
        "Single='single'\r\n"
        "Twice=\"\"inner\"\"\r\n"
        "Unmatched=\"open\r\n"
        "Equals=a=b=c\r\n"
        "NoEquals\r\n"
        "Empty=\r\n"
        "Dup=first\r\n"
        "Dup=second\r\n"
        "\r\n"
        "[Other]\r\n"
        "Only=other\r\n"
        "[strings]\r\n"
        "Late=second section of the same name\n");
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } const cases[] = {
        {"Strings", "Room", "Chambre"},
        {"STRINGS", "room", "Chambre"},
        {"Strings", "Quoted", "  spaced  "},
        {"Strings", "Single", "single"},
        {"Strings", "Twice", "\"inner\""},
        {"Strings", "Unmatched", "\"open"},
        {"Strings", "Equals", "a=b=c"},
        {"Strings", "NoEquals", "dflt"},
        {"Strings", "Empty", ""},
        {"Strings", "Dup", "first"},
        {"Strings", "Only", "dflt"},
        {"Strings", "top", "dflt"},
        {"Strings", "; Room", "dflt"},
        {"Strings", "Late", "dflt"},
        {"Other", "Only", "other"},
        {"Missing", "Room", "dflt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Value(c.section, c.key), c.expected) << c.section << "/" << c.key;
    }
    EXPECT_EQ(Value("Strings", "Missing", "spaces after  "), "spaces after");
    EXPECT_EQ(Value("Strings", "Missing", nullptr), "");
}

TEST_F(IniProfileTest, CutsAValueThatDoesNotFitTheBuffer) {
    const std::string longValue(3000, 'v');
    Write("[S]\nLong=" + longValue + "\nShort=abc\n");
    EXPECT_EQ(Value("S", "Long", "", 2048), longValue.substr(0, 2047));
    EXPECT_EQ(Value("S", "Short", "", 4), "abc");
    EXPECT_EQ(Value("S", "Short", "", 3), "ab");
    EXPECT_EQ(Value("S", "Short", "", 1), "");
    EXPECT_EQ(Value("S", "Missing", "default", 4), "def");
    char untouched = '#';
    EXPECT_EQ(GetPrivateProfileStringA("S", "Short", "", &untouched, 0, path_.c_str()), 0u);
    EXPECT_EQ(untouched, '#');
}

TEST_F(IniProfileTest, ListsASectionAndCutsItWhenTheBufferIsFull) {
    Write("[S]\n; comment\n\n  a = 1 \nflag\nq=\"x\"\n[T]\nb=2\n");
    std::uint32_t n = 0;
    const std::string whole("a=1\0flag\0q=\"x\"\0\0", 16);
    EXPECT_EQ(Section("S", 64, n).substr(0, 16), whole);
    EXPECT_EQ(n, 15u);
    EXPECT_EQ(Section("s", 16, n), whole);  // exactly fits
    EXPECT_EQ(n, 15u);
    // One byte short: the last text is cut and two NULs end the buffer.
    EXPECT_EQ(Section("S", 15, n), std::string("a=1\0flag\0q=\"x\0\0", 15));
    EXPECT_EQ(n, 13u);
    EXPECT_EQ(Section("S", 6, n), std::string("a=1\0\0\0", 6));
    EXPECT_EQ(n, 4u);
    EXPECT_EQ(Section("Missing", 4, n), std::string("\0\0##", 4));
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(Section("S", 1, n), std::string("\0", 1));
    EXPECT_EQ(n, 0u);
}

TEST_F(IniProfileTest, CutsAFullSizeSectionAtTheBufferEnd) {
    std::string text = "[S]\n";
    std::string listed;
    for (int i = 0; listed.size() < 5000; ++i) {
        const std::string entry = "Key" + std::to_string(i) + "=Value" + std::to_string(i);
        text += entry + "\n";
        listed += entry + '\0';
    }
    Write(text);
    std::uint32_t n = 0;
    const std::string buffer = Section("S", 4096, n);
    EXPECT_EQ(n, 4094u);
    EXPECT_EQ(buffer.substr(0, 4094), listed.substr(0, 4094));
    EXPECT_EQ(buffer.substr(4094), std::string(2, '\0'));
}

TEST_F(IniProfileTest, WritesKeepEveryOtherLine) {
    Write("; labels\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    EXPECT_TRUE(WritePrivateProfileStringA("a", "z", "3", path_.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("A", "X", "one", path_.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("C", "w", "4", path_.c_str()));
    EXPECT_EQ(dir_.Read("settings.ini"),
              "; labels\r\n[A]\r\nX=one\r\nz=3\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nw=4\r\n");
    EXPECT_TRUE(WritePrivateProfileStringA("B", "y", nullptr, path_.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("a", nullptr, nullptr, path_.c_str()));
    EXPECT_EQ(dir_.Read("settings.ini"), "; labels\r\n[B]\r\n\r\n[C]\r\nw=4\r\n");
    EXPECT_FALSE(WritePrivateProfileStringA("C", "w", "4\r\n[Injected]", path_.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "w", "4", path_.c_str()));
    EXPECT_EQ(Value("C", "w"), "4");
}

TEST_F(IniProfileTest, WritesCreateTheFileOnlyWhenSomethingIsSet) {
    path_ = dir_.File("new.ini");
    EXPECT_TRUE(WritePrivateProfileStringA("S", "None", nullptr, path_.c_str()));
    EXPECT_TRUE(WritePrivateProfileStringA("S", nullptr, nullptr, path_.c_str()));
    EXPECT_FALSE(std::ifstream(path_).good());
    EXPECT_TRUE(WritePrivateProfileStringA("S", "k", "v", path_.c_str()));
    EXPECT_EQ(dir_.Read("new.ini"), "[S]\r\nk=v\r\n");
    EXPECT_FALSE(
        WritePrivateProfileStringA("S", "k", "v", dir_.File("no/such/folder.ini").c_str()));
}

TEST_F(IniProfileTest, ReadsAndWritesUnicodeFilesInTheirEncoding) {
    const std::string text = "[Strings]\r\nRoom=Chambre \xC3\xA0 coucher\r\n";
    Write(EncodeText(text, TextEncoding::Utf16Le));
    EXPECT_EQ(Value("Strings", "Room"), "Chambre \xC3\xA0 coucher");
    EXPECT_TRUE(WritePrivateProfileStringA("Strings", "Tenant", "Locataire", path_.c_str()));
    EXPECT_EQ(dir_.Read("settings.ini"),
              EncodeText(text + "Tenant=Locataire\r\n", TextEncoding::Utf16Le));
    Write("\xEF\xBB\xBF[Strings]\nRoom=Zimmer\n");
    EXPECT_EQ(Value("Strings", "Room"), "Zimmer");
}

TEST_F(IniProfileTest, TranslatesWindowsFileNames) {
    TESTSUPPORT::EnvironmentScope root("QUORIX_ROOT", dir_.Path());
    dir_.Write("Program Files/qx/labels.ini", "[S]\nk=v\n");
    path_ = "C:\\Program Files\\qx\\labels.ini";
    EXPECT_EQ(Value("S", "k"), "v");
}

TEST_F(IniProfileTest, DamagedFilesReadAsFarAsTheyAreText) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    }
    struct Case {
        const char* what;
        std::string bytes;
        const char* expected;  // what S/k starts with
    } const cases[] = {
        {"binary garbage", garbage, "dflt"},
        {"garbage after the section", "[S]\nk=v\n" + garbage, "v"},
        {"NUL inside the value", std::string("[S]\nk=v\0tail\n", 13), "v"},
        {"NUL lines before", std::string("\0\0\0\n[S]\0junk\nk=v\n", 17), "v"},
        {"10 MB line", "[S]\n" + std::string(10 * 1024 * 1024, 'x') + "\nk=v\n", "v"},
        {"10 MB value", "[S]\nk=v" + std::string(10 * 1024 * 1024, 'x'), "v"},
        {"cut file", "[S]\nk=v\n[T", "v"},
        {"cut section header", "[S", "dflt"},
    };
    for (const Case& c : cases) {
        Write(c.bytes);
        EXPECT_EQ(Value("S", "k").substr(0, std::strlen(c.expected)), c.expected) << c.what;
        std::uint32_t n = 0;
        Section("S", 4096, n);
        EXPECT_LE(n, 4094u) << c.what;
    }
    path_ = dir_.File("absent.ini");
    EXPECT_EQ(Value("S", "k"), "dflt");
    path_ = dir_.Path();
    EXPECT_EQ(Value("S", "k"), "dflt");
}

}  // namespace
