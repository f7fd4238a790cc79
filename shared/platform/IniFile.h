#ifndef PLATFORM_INIFILE_H
#define PLATFORM_INIFILE_H

#include <string>
#include <vector>

#include "platform/TextEncoding.h"

namespace PLATFORM {

// The lines of an INI file read the way the Windows profile functions read
// them: section and key names compared without regard to case, names and
// values trimmed of blanks, lines starting with ";" ignored, and only the
// first section of a name (and the first entry of a key in it) seen.
// Edits keep every other line as it was.
class IniFile {
public:
    struct Entry {
        std::string key;
        bool hasValue = false;  // the line holds an "="
        std::string value;      // trimmed, quotes kept
    };

    // A missing or unreadable file reads as an empty one.
    static IniFile Load(const std::string& nativePath);

    // The entries of section in file order; empty when there is no such
    // section.
    std::vector<Entry> SectionEntries(const std::string& section) const;

    // The trimmed value of key in section; false when the section or the key
    // is missing or the key's line holds no "=".
    bool FindValue(const std::string& section, const std::string& key, std::string& value) const;

    // Each returns whether the file's lines changed.
    bool SetValue(const std::string& section, const std::string& key, const std::string& value);
    bool DeleteKey(const std::string& section, const std::string& key);
    bool DeleteSection(const std::string& section);

    // Writes the lines back in the encoding and line ends the file had.
    bool Save(const std::string& nativePath) const;

private:
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

#endif
