#pragma once

#include <map>
#include <string>

#include "platform/Registry.h"
#include "runtime/ProfileValue.h"

namespace QXUTIL {

// Names a place that holds settings, one INI file section or one registry
// key, and lists the values found there. It never keeps a key open.
class ProfileEdit {
public:
    ProfileEdit();
    virtual ~ProfileEdit();

    // INI mode on file and section: 0 when the file exists and the section
    // holds a key, else 1. With create, the file is touched through the
    // profile functions and 0 is returned.
    virtual int OpenIni(const std::string& file, const std::string& section, bool create);

    // Registry mode on root\subkey (made when missing and create is set):
    // 0 or the Win32 error code of the failed open.
    virtual int OpenRegistry(PLATFORM::HKEY root, const std::string& subkey, bool create);

    // Every key of the INI section with its value read, by name. Empty in
    // registry mode and before an INI file and section were given.
    std::map<std::string, ProfileValue> GetValues() const;

private:
    PLATFORM::HKEY root_ = nullptr;  // set in registry mode only
    std::string place_;              // INI file path or registry subkey
    std::string section_;
};

}  // namespace QXUTIL
