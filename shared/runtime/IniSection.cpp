#include "runtime/IniSection.h"

#include "platform/IniProfile.h"

namespace {

constexpr std::size_t kSectionBufferSize = 4096;

}  // namespace

std::set<std::string> ReadIniSectionKeys(const std::string& file, const std::string& section) {
    char buffer[kSectionBufferSize] = {};
    PLATFORM::GetPrivateProfileSectionA(section.c_str(), buffer, kSectionBufferSize, file.c_str());
    std::map<std::string, std::string> entries;
    ParseIniSection(entries, buffer);
    std::set<std::string> keys;
    for (const auto& entry : entries) {
        keys.insert(entry.first);
    }
    return keys;
}

void ParseIniSection(std::map<std::string, std::string>& entries, const char* buffer) {
    std::string entry;
    for (std::size_t i = 0; i < kSectionBufferSize; ++i) {
        if (buffer[i] != '\0') {
            entry += buffer[i];
            continue;
        }
        if (entry.size() > 1) {
            const std::size_t equals = entry.find('=');
            if (equals == std::string::npos) {
                entries.emplace(entry, std::string());
            } else {
                entries.emplace(entry.substr(0, equals), entry.substr(equals + 1));
            }
        }
        entry.clear();
        if (i + 1 == kSectionBufferSize || buffer[i + 1] == '\0') {
            break;
        }
    }
}
