#include "platform/Registry.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/TextEncoding.h"
#include "platform/Win32Error.h"
#include "support/EnvironmentScope.h"
#include "support/TempDir.h"

using namespace PLATFORM;

namespace {

const char kHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";
const char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\qxreports";

// "a", "bc" as REG_MULTI_SZ, wrapped over lines as regedit writes it.
const char kMultiLine[] =
    "\"Items\"=hex(7):61,00,00,00,62,00,63,00,00,\\\r\n"
    "  00,00,00\r\n";

class RegistryTest : public ::testing::Test {
protected:
    void UseRegistry(const std::string& bytes) { registry_.Set(dir_.Write("registry.reg", bytes)); }

    // Opens kKey and reads one value into a 256-byte buffer.
    std::int32_t Query(const char* name, std::uint32_t& type, std::string& data) {
        HKEY key = nullptr;
        std::int32_t error =
            RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ | KEY_WOW64_32KEY, &key);
        if (error != ERROR_SUCCESS) {
            return error;
        }
        unsigned char buffer[256];
        std::uint32_t size = sizeof buffer;
        error = RegQueryValueExA(key, name, nullptr, &type, buffer, &size);
        if (error == ERROR_SUCCESS) {
            data.assign(reinterpret_cast<char*>(buffer), size);
        }
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        return error;
    }

    TESTSUPPORT::TempDir dir_;
    TESTSUPPORT::EnvironmentScope registry_{"QUORIX_REGISTRY"};
};

TEST_F(RegistryTest, ReadsEveryValueFormOfAnExport) {
    UseRegistry(std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\" + kKey +
                "]\r\n"
                "\"InstallLocation\"=\"C:\\\\Program Files\\\\Corvane \\\"Q\\\"\\\\\"\r\n"
                "\"Count\"=dword:0000002a\r\n" +
                kMultiLine +
                "@=\"default\"\r\n"
                "\"Blob\"=hex:01,ff\r\n"
                "; a comment line\r\n"
                "\"Removed\"=\"x\"\r\n"
                "\"Removed\"=-\r\n");
    struct Case {
        const char* name;
        std::uint32_t type;
        std::string data;
    } const cases[] = {
        {"InstallLocation", REG_SZ, std::string("C:\\Program Files\\Corvane \"Q\"\\") + '\0'},
        {"installlocation", REG_SZ, std::string("C:\\Program Files\\Corvane \"Q\"\\") + '\0'},
        {"Count", REG_DWORD, std::string("\x2a\0\0\0", 4)},
        {"Items", REG_MULTI_SZ, std::string("a\0bc\0\0", 6)},
        {"", REG_SZ, std::string("default") + '\0'},
        {nullptr, REG_SZ, std::string("default") + '\0'},
        {"Blob", REG_BINARY, std::string("\x01\xff", 2)},
    };
    for (const Case& c : cases) {
        std::uint32_t type = 0;
        std::string data;
        ASSERT_EQ(Query(c.name, type, data), ERROR_SUCCESS) << (c.name ? c.name : "(null)");
        EXPECT_EQ(type, c.type) << (c.name ? c.name : "(null)");
        EXPECT_EQ(data, c.data) << (c.name ? c.name : "(null)");
    }
    std::uint32_t type = 0;
    std::string data;
    EXPECT_EQ(Query("Removed", type, data), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Query("Missing", type, data), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, ReadsARegeditExportInUtf16) {
    const std::string text = std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\" + kKey + "]\r\n" +
                             "\"InstallLocation\"=\"C:\\\\Caf\xC3\xA9\"\r\n";
    UseRegistry(EncodeText(text, TextEncoding::Utf16Le));
    std::uint32_t type = 0;
    std::string data;
    ASSERT_EQ(Query("InstallLocation", type, data), ERROR_SUCCESS);
    EXPECT_EQ(data, std::string("C:\\Caf\xC3\xA9") + '\0');
}

TEST_F(RegistryTest, FindsKeysWithoutRegardToCaseAndKnowsTheirParents) {
    UseRegistry(std::string(kHeader) +
                "[HKEY_LOCAL_MACHINE\\SOFTWARE\\corvane\\Quorix]\r\n"
                "\"Name\"=\"q\"\r\n");
    struct Case {
        const char* subKey;
        std::int32_t error;
    } const cases[] = {
        {"software\\CORVANE\\quorix", ERROR_SUCCESS},
        {"Software\\Corvane", ERROR_SUCCESS},
        {"Software\\Corvane\\Quorix\\Deeper", ERROR_FILE_NOT_FOUND},
        {"Software\\Other", ERROR_FILE_NOT_FOUND},
        {"", ERROR_SUCCESS},
    };
    for (const Case& c : cases) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, c.subKey, 0, KEY_READ, &key), c.error)
            << c.subKey;
        if (c.error == ERROR_SUCCESS) {
            EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        } else {
            EXPECT_EQ(key, nullptr);
        }
    }
    // A key opened below an open key.
    HKEY parent = nullptr;
    HKEY child = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Corvane", 0, KEY_READ, &parent),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(parent, "Quorix", 0, KEY_READ, &child), ERROR_SUCCESS);
    std::uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(child, "name", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    RegCloseKey(child);
    RegCloseKey(parent);
}

TEST_F(RegistryTest, ReportsTheSizeNeededWhenTheBufferIsTooSmall) {
    UseRegistry(std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\" + kKey +
                "]\r\n\"V\"=\"abcdef\"\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(RegQueryValueExA(key, "V", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 7u);

    unsigned char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    size = 6;
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 8), "xxxxxxxx");

    size = 7;
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(buffer), "abcdef");
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, &type, buffer, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, &type, nullptr, &size), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, CreatedKeysLastForTheProcessAndLeaveTheFileAlone) {
    const std::string text = std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\Software\\Kept]\r\n";
    UseRegistry(text);
    const char* subKey = "Software\\RegistryTest\\Created\\Here";
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);

    std::uint32_t disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "software\\registrytest\\created\\here", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
    for (const char* path : {subKey, "Software\\RegistryTest"}) {
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key), ERROR_SUCCESS)
            << path;
        RegCloseKey(key);
    }
    EXPECT_EQ(dir_.Read("registry.reg"), text);
}

TEST_F(RegistryTest, DefaultsToTheSystemFileWhenTheVariableIsUnset) {
    EXPECT_EQ(RegistryFilePath(), "/etc/quorix/registry.reg");
    registry_.Set("/x/y.reg");
    EXPECT_EQ(RegistryFilePath(), "/x/y.reg");
}

// Reads files of 10 MB over and over: labelled slow, run in a process of its own.
using RegistrySlowTest = RegistryTest;

// Whatever the file holds, a read never fails other than by "not found",
// and what can be read from a damaged file is read.
TEST_F(RegistrySlowTest, DamagedFilesGiveNotFoundNeverACrash) {
    const std::string good =
        std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\" + kKey + "]\r\n\"V\"=\"ok\"\r\n";
    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        garbage += static_cast<char>((i * 7919 + 13) % 256);
    }
    const std::string hugeLine = "\"Huge\"=\"" + std::string(10 * 1024 * 1024, 'h') + "\"\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        bool readable;  // V reads "ok"
    } const cases[] = {
        {"empty file", "", false},
        {"no header", "[HKEY_LOCAL_MACHINE\\" + std::string(kKey) + "]\r\n\"V\"=\"ok\"\r\n", false},
        {"binary garbage", garbage, false},
        {"garbage after the values", good + garbage, true},
        {"NUL bytes in lines", good + std::string("\"W\"=\"a\0b\"\r\n\0\0\0[\0]\r\n", 20), true},
        {"10 MB line", good + hugeLine, true},
        {"10 MB line without end", good + "\"Huge\"=\"" + std::string(10 * 1024 * 1024, 'h'), true},
        {"cut inside a string", good + "\"Cut\"=\"C:\\\\Pro", true},
        {"cut inside a hex list", good + "\"Cut\"=hex(7):61,00,\\\r\n  62,", true},
        {"cut before a promised line", good + "\"Cut\"=hex:61,00\\\r\n", true},
        {"cut inside a section name", good + "[HKEY_LOCAL_MACH", true},
        {"malformed values",
         good +
             "\"A\"=dword:xyz\r\n\"B\"=hex:1,2,zz\r\n\"C\"\r\n=\"d\"\r\n\"D\"=dword:123456789\r\n",
         true},
        {"values before any key", std::string(kHeader) + "\"V\"=\"lost\"\r\n", false},
    };
    for (const Case& c : cases) {
        UseRegistry(c.bytes);
        std::uint32_t type = 0;
        std::string data;
        const std::int32_t error = Query("V", type, data);
        if (c.readable) {
            EXPECT_EQ(error, ERROR_SUCCESS) << c.what;
            EXPECT_EQ(data, std::string("ok") + '\0') << c.what;
        } else {
            EXPECT_EQ(error, ERROR_FILE_NOT_FOUND) << c.what;
        }
        for (const char* name : {"A", "B", "C", "D", "Cut"}) {
            EXPECT_EQ(Query(name, type, data), ERROR_FILE_NOT_FOUND) << c.what << " " << name;
        }
    }
    // The 10 MB line itself is a readable value.
    UseRegistry(good + hugeLine);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    std::uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Huge", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 10u * 1024u * 1024u + 1u);
    RegCloseKey(key);
}

TEST_F(RegistryTest, MissingOrUnusableFilesHoldNoKeys) {
    // Larger than any settings file: not read at all (sparse, so cheap).
    const std::string oversized = dir_.Write(
        "oversized.reg", std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\" + kKey + "]\r\n");
    std::filesystem::resize_file(oversized, 65u * 1024u * 1024u);
    for (const std::string& path :
         {dir_.File("absent.reg"), dir_.MakeDir("folder.reg"), oversized}) {
        registry_.Set(path);
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND)
            << path;
    }
}

}  // namespace
