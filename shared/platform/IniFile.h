#pragma once

#include <string>
#include <vector>

#include "platform/TextEncoding.h"

namespace PLATFORM {

// The lines of an INI file as the profile functions' writes edit them (see
// IniLines.h): section and key names compared without regard to case, and
// only the first section of a name (and the first entry of a key in it)
// changed. Edits keep every other line as it was.
class IniFile {
public:
    // A missing or unreadable file reads as an empty one.
    static IniFile Load(const std::string& nativePath);

    // Each returns whether the file's lines changed.
    bool SetValue(const std::string& section, const std::string& key, const std::string& value);
    bool DeleteKey(const std::string& section, const std::string& key);
    bool DeleteSection(const std::string& section);

    // Writes the lines back in the encoding and line ends the file had.
    bool Save(const std::string& nativePath) const;

private:
    struct Entry {
        std::string key;
        bool hasValue = false;  // the line holds an "="
        std::string value;      // trimmed, quotes kept
    };
    enum class Kind { Other, Section, Entry };
    struct Line {
        std::string raw;
        Kind kind = Kind::Other;
        std::string section;  // Kind::Section: its name
        Entry entry;          // Kind::Entry
    };

    static Line Classify(const std::string& raw);
    // Index of the first header line of section, or lines_.size().
    std::size_t FindSection(const std::string& section) const;
    // Index one past the last line that belongs to the section at header.
    std::size_t SectionEnd(std::size_t header) const;
    // Index of key's first entry in the section at header, or lines_.size().
    std::size_t FindKey(std::size_t header, const std::string& key) const;

    std::vector<Line> lines_;
    std::string lineEnd_ = "\r\n";
    TextEncoding encoding_ = TextEncoding::Utf8;
};

}  // namespace PLATFORM
