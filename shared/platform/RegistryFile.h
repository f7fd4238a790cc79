#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

namespace PLATFORM {

// The keys and values of a registry export (the text regedit writes,
// "Windows Registry Editor Version 5.00" or "REGEDIT4", UTF-16LE with a byte
// order mark or UTF-8). Key paths and value names are compared without
// regard to case. Lines that cannot be read are skipped; a text without the
// header line holds no keys at all.
class RegistryFile {
public:
    struct Value {
        std::uint32_t type = 0;
        // The bytes a narrow-text query hands back: text types as UTF-8 with
        // their terminating NULs, numbers little-endian, binary as is.
        std::string data;
    };
    // Value name in upper case ("" for the default value) to value.
    using Values = std::map<std::string, Value>;

    static RegistryFile Parse(const std::string& bytes);

    // Parses the file at a native path; a missing, unreadable or oversized
    // file gives an empty registry.
    static RegistryFile Load(const std::string& nativePath);

    // The canonical form of a key path: components separated by single
    // backslashes, empty components dropped, letters in upper case.
    static std::string CanonicalPath(const std::string& path);

    // The form of a value name that Values is keyed by.
    static std::string ValueKey(const std::string& name);

    // The values of a key given by its full path ("HKEY_LOCAL_MACHINE\..."),
    // or null when the key does not exist. A key exists when it has a section
    // of its own or below it.
    const Values* FindKey(const std::string& path) const;

private:
    void AddKey(const std::string& canonicalPath);

    std::map<std::string, Values> keys_;
};

}  // namespace PLATFORM
