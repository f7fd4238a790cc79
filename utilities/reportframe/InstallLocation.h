#pragma once

#include <string>

// The folder held by valueName under the product's uninstall key
// (HKEY_LOCAL_MACHINE, 32-bit view), or defaultFolder when the key or
// value is missing, unreadable or empty, followed by the suffixes: suffix1
// when non-empty, then suffix2 and then suffix3, each only when the ones
// before it were non-empty. Nothing is put between the parts; a suffix
// carries its own leading backslash.
std::string GetInstallLocation(const std::string& product, const std::string& valueName,
                               const std::string& defaultFolder, const std::string& suffix1,
                               const std::string& suffix2, const std::string& suffix3);
