#include "platform/IniProfile.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/IniFile.h"
#include "platform/IniReadScope.h"
#include "platform/NativePath.h"

namespace PLATFORM {

namespace {

std::string StripQuotes(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool HasLineBreak(const char* text) {
    return text != nullptr && std::strpbrk(text, "\r\n") != nullptr;
}

}  // namespace

std::uint32_t GetPrivateProfileSectionA(const char* section, char* buffer, std::uint32_t size,
                                        const char* fileName) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    std::string list;
    if (section != nullptr && fileName != nullptr) {
        // What does not fit is cut anyway.
        IniReadScope::Section(NativePath(fileName), section)->List(list, size);
    }
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        if (list.empty()) {
            buffer[1] = '\0';
        }
        return static_cast<std::uint32_t>(list.size());
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* defaultText, char* buffer, std::uint32_t size,
                                       const char* fileName) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    std::string value;
    bool found = false;
    if (section != nullptr && key != nullptr && fileName != nullptr) {
        found = IniReadScope::Section(NativePath(fileName), section)->FindValue(key, value);
    }
    if (found) {
        value = StripQuotes(value);
    } else {
        value = defaultText ? defaultText : "";
        value.erase(value.find_last_not_of(' ') + 1);
    }
    const std::size_t length = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
    return static_cast<std::uint32_t>(length);
}

bool WritePrivateProfileStringA(const char* section, const char* key, const char* text,
                                const char* fileName) {
    if (section == nullptr || fileName == nullptr || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(text)) {
        return false;
    }
    const std::string path = NativePath(fileName);
    IniFile file = IniFile::Load(path);
    bool changed = false;
    if (key == nullptr) {
        changed = file.DeleteSection(section);
    } else if (text == nullptr) {
        changed = file.DeleteKey(section, key);
    } else {
        changed = file.SetValue(section, key, text);
    }
    if (!changed) {
        return true;
    }
    const bool saved = file.Save(path);
    IniReadScope::Forget(path);
    return saved;
}

}  // namespace PLATFORM
