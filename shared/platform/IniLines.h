#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"

namespace PLATFORM {

// How the Windows profile functions see the text of an INI file: lines
// ended by CR LF, CR or LF; on each line, what follows a NUL is noise and
// blanks around names and values do not count; a line is a section header
// ("[name]"), a comment (";" first), blank, or an entry "key" or
// "key=value" split at its first "=".

// The file's text as UTF-8, with the encoding it was saved in; a missing or
// unreadable file reads as an empty one.
std::string ReadIniText(const std::string& nativePath, TextEncoding& encoding);

// Calls visit(begin, end) with the bounds of each line of text, in order,
// line ends excluded.
template <typename Visit>
void ForEachIniLine(const std::string& text, Visit visit) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        visit(pos, end);
        pos = end;
        if (pos < text.size()) {
            pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
        }
    }
}

// What one line holds, as positions in the text it was read from.
struct IniLine {
    enum class Kind { Other, Section, Entry };
    Kind kind = Kind::Other;
    std::size_t nameBegin = 0;  // the section's name, or the entry's key
    std::size_t nameEnd = 0;
    bool hasValue = false;       // an entry with "="
    std::size_t valueBegin = 0;  // trimmed, quotes kept
    std::size_t valueEnd = 0;

    std::string_view Name(const std::string& text) const {
        return std::string_view(text).substr(nameBegin, nameEnd - nameBegin);
    }
    std::string_view Value(const std::string& text) const {
        return std::string_view(text).substr(valueBegin, valueEnd - valueBegin);
    }
};

// The line of text between begin and end.
IniLine ParseIniLine(const std::string& text, std::size_t begin, std::size_t end);

}  // namespace PLATFORM
