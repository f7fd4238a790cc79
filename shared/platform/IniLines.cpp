#include "platform/IniLines.h"

#include <cstring>

#include "platform/FileContents.h"
#include "platform/SettingsText.h"

namespace PLATFORM {

namespace {

// Moves begin and end inwards past blanks.
void Trim(const std::string& text, std::size_t& begin, std::size_t& end) {
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
}

// The first position of c in text between begin and end, or end.
std::size_t Find(const std::string& text, char c, std::size_t begin, std::size_t end) {
    const void* found = std::memchr(text.data() + begin, c, end - begin);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) : end;
}

}  // namespace

std::string ReadIniText(const std::string& nativePath, TextEncoding& encoding) {
    encoding = TextEncoding::Utf8;
    std::string bytes;
    if (!ReadFileContents(nativePath, bytes)) {
        return std::string();
    }
    return DecodeText(bytes, encoding);
}

IniLine ParseIniLine(const std::string& text, std::size_t begin, std::size_t end) {
    IniLine line;
    end = Find(text, '\0', begin, end);
    Trim(text, begin, end);
    if (begin == end || text[begin] == ';') {
        return line;
    }
    if (text[begin] == '[') {
        line.kind = IniLine::Kind::Section;
        line.nameBegin = begin + 1;
        line.nameEnd = Find(text, ']', begin, end);
        Trim(text, line.nameBegin, line.nameEnd);
        return line;
    }
    line.kind = IniLine::Kind::Entry;
    const std::size_t equals = Find(text, '=', begin, end);
    line.nameBegin = begin;
    line.nameEnd = equals;
    Trim(text, line.nameBegin, line.nameEnd);
    if (equals != end) {
        line.hasValue = true;
        line.valueBegin = equals + 1;
        line.valueEnd = end;
        Trim(text, line.valueBegin, line.valueEnd);
    }
    return line;
}

}  // namespace PLATFORM
