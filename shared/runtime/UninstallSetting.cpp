#include "runtime/UninstallSetting.h"

#include "platform/Registry.h"
#include "platform/Win32Error.h"

namespace QXUTIL {

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr std::uint32_t kBufferSize = 1024;

}  // namespace

std::string ReadUninstallSetting(const std::string& product, const std::string& valueName) {
    PLATFORM::HKEY key = nullptr;
    const std::string subkey = kUninstallKey + product;
    if (PLATFORM::RegOpenKeyExA(PLATFORM::HKEY_LOCAL_MACHINE, subkey.c_str(), 0,
                                PLATFORM::KEY_READ | PLATFORM::KEY_WOW64_32KEY,
                                &key) != PLATFORM::ERROR_SUCCESS) {
        return std::string();
    }
    unsigned char buffer[kBufferSize] = {};
    std::uint32_t size = kBufferSize - 1;
    const std::int32_t result =
        PLATFORM::RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, buffer, &size);
    PLATFORM::RegCloseKey(key);
    if (result != PLATFORM::ERROR_SUCCESS) {
        return std::string();
    }
    return std::string(reinterpret_cast<const char*>(buffer));
}

}  // namespace QXUTIL
