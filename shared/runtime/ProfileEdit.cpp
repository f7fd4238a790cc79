#include "runtime/ProfileEdit.h"

#include "platform/IniProfile.h"
#include "platform/IniReadScope.h"
#include "platform/PathAccess.h"
#include "platform/Win32Error.h"
#include "runtime/IniSection.h"

namespace QXUTIL {

ProfileEdit::ProfileEdit() = default;

ProfileEdit::~ProfileEdit() = default;

int ProfileEdit::OpenIni(const std::string& file, const std::string& section, bool create) {
    place_.clear();
    if (file.empty() || section.empty()) {
        return 1;
    }
    place_ = file;
    section_ = section;
    int result = 1;
    if (PLATFORM::PathAccessError(file) == PLATFORM::ERROR_SUCCESS) {
        result = ReadIniSectionKeys(file, section).empty() ? 1 : 0;
    }
    if (!create) {
        return result;
    }
    PLATFORM::WritePrivateProfileStringA(section.c_str(), "None", nullptr, file.c_str());
    return 0;
}

int ProfileEdit::OpenRegistry(PLATFORM::HKEY root, const std::string& subkey, bool create) {
    place_.clear();
    PLATFORM::HKEY key = nullptr;
    std::int32_t result =
        PLATFORM::RegOpenKeyExA(root, subkey.c_str(), 0, PLATFORM::KEY_READ, &key);
    if (result != PLATFORM::ERROR_SUCCESS && create) {
        PLATFORM::HKEY created = nullptr;
        result = PLATFORM::RegCreateKeyExA(root, subkey.c_str(), 0, nullptr,
                                           PLATFORM::REG_OPTION_NON_VOLATILE,
                                           PLATFORM::KEY_ALL_ACCESS, nullptr, &created, nullptr);
        if (result == PLATFORM::ERROR_SUCCESS) {
            PLATFORM::RegCloseKey(created);
            result = PLATFORM::RegOpenKeyExA(root, subkey.c_str(), 0, PLATFORM::KEY_READ, &key);
        }
    }
    if (result != PLATFORM::ERROR_SUCCESS) {
        return result;
    }
    root_ = root;
    place_ = subkey;
    PLATFORM::RegCloseKey(key);
    return PLATFORM::ERROR_SUCCESS;
}

std::map<std::string, ProfileValue> ProfileEdit::GetValues() const {
    std::map<std::string, ProfileValue> values;
    if (root_ != nullptr || place_.empty() || section_.empty()) {
        return values;
    }
    // The listing and every value come from one reading of the file.
    const PLATFORM::IniReadScope oneReading;
    for (const std::string& name : ReadIniSectionKeys(place_, section_)) {
        ProfileValue value(PLATFORM::REG_SZ, name, nullptr, place_, section_);
        value.Read();
        values.emplace(name, value);
    }
    return values;
}

}  // namespace QXUTIL
