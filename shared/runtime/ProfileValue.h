#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace QXUTIL {

// One named setting, either a value of a registry key (root set) or a key
// of an INI file section (root null), read on demand. Each copy owns its
// own buffer.
class ProfileValue {
public:
    ProfileValue();
    ProfileValue(std::uint32_t type, const std::string& name, PLATFORM::HKEY root,
                 const std::string& place, const std::string& section);
    ProfileValue(const ProfileValue& other);
    ProfileValue& operator=(const ProfileValue& other);
    virtual ~ProfileValue();

    // (Re)loads the data from the registry key or INI file named by the
    // members. 0 or a Win32 error code; an INI read always gives 0.
    int Read();

    // The value as text into out (REG_SZ text, REG_DWORD as decimal, the
    // items of REG_MULTI_SZ each followed by ","), or defaultText when there
    // is nothing to show. Returns out.
    const std::string& GetString(std::string& out, const std::string& defaultText) const;

    // The items of a registry REG_MULTI_SZ value; empty for anything else.
    void GetStrings(std::vector<std::string>& out) const;

    std::uint32_t Type() const { return type_; }
    const std::string& Name() const { return name_; }
    const char* Data() const { return data_; }
    std::uint32_t Size() const { return size_; }

private:
    void FreeData();
    int ReadRegistry();
    int ReadIni();

    std::uint32_t type_ = 1;
    std::string name_;
    char* data_ = nullptr;    // malloc'd, size_ valid bytes
    std::uint32_t size_ = 0;  // for text, the terminating NUL included
    PLATFORM::HKEY root_ = nullptr;
    std::string place_;  // registry subkey or INI file path
    std::string section_;
};

}  // namespace QXUTIL
