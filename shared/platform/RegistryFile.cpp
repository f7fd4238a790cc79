#include "platform/RegistryFile.h"

#include <algorithm>
#include <vector>

#include "platform/FileContents.h"
#include "platform/Registry.h"
#include "platform/SettingsText.h"
#include "platform/TextEncoding.h"

namespace PLATFORM {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One logical line: hex lists wrap over several physical lines, each but
// the last ending in a backslash. A wrap that never ends (a cut file) marks
// the line incomplete.
struct LogicalLine {
    std::string text;
    bool complete = true;
};

std::vector<std::string> PhysicalLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (;;) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(pos, end - pos);
        // A NUL cannot be part of a line of text; what follows it is noise.
        line.erase(std::min(line.find('\0'), line.size()));
        lines.push_back(line);
        if (end == text.size()) {
            return lines;
        }
        pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

std::vector<LogicalLine> SplitLines(const std::string& text) {
    std::vector<LogicalLine> lines;
    LogicalLine current;
    bool continuing = false;
    for (const std::string& physical : PhysicalLines(text)) {
        std::string line = continuing ? TrimBlanks(physical) : physical;
        if (continuing && line.empty()) {
            // The line that was promised never came.
            current.complete = false;
            lines.push_back(current);
            current = LogicalLine();
            continuing = false;
            continue;
        }
        while (!line.empty() && IsBlank(line.back())) {
            line.pop_back();
        }
        continuing = !line.empty() && line.back() == '\\';
        if (continuing) {
            line.pop_back();
        }
        current.text += line;
        if (!continuing) {
            lines.push_back(current);
            current = LogicalLine();
        }
    }
    if (continuing) {
        current.complete = false;
        lines.push_back(current);
    }
    return lines;
}

// Reads a quoted text starting at line[pos] == '"', undoing the \\ and \"
// escapes; pos ends past the closing quote. False when the quote never ends.
bool ReadQuoted(const std::string& line, std::size_t& pos, std::string& out) {
    out.clear();
    ++pos;
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == '"') {
            return true;
        }
        if (c == '\\' && pos < line.size() && (line[pos] == '\\' || line[pos] == '"')) {
            out += line[pos++];
        } else {
            out += c;
        }
    }
    return false;
}

bool ReadHexBytes(const std::string& list, std::string& bytes) {
    bytes.clear();
    const std::string trimmed = TrimBlanks(list);
    if (trimmed.empty()) {
        return true;
    }
    std::size_t pos = 0;
    while (pos <= trimmed.size()) {
        std::size_t comma = trimmed.find(',', pos);
        if (comma == std::string::npos) {
            comma = trimmed.size();
        }
        const std::string item = TrimBlanks(trimmed.substr(pos, comma - pos));
        if (item.empty() || item.size() > 2) {
            return false;
        }
        int value = 0;
        for (char c : item) {
            const int digit = HexDigit(c);
            if (digit < 0) {
                return false;
            }
            value = value * 16 + digit;
        }
        bytes += static_cast<char>(value);
        if (comma == trimmed.size()) {
            break;
        }
        pos = comma + 1;
    }
    return true;
}

// Parses the data part of a value line. False for anything malformed.
bool ReadData(const std::string& dataText, RegistryFile::Value& value) {
    const std::string data = TrimBlanks(dataText);
    if (!data.empty() && data[0] == '"') {
        std::size_t pos = 0;
        std::string text;
        if (!ReadQuoted(data, pos, text) || !TrimBlanks(data.substr(pos)).empty()) {
            return false;
        }
        value.type = REG_SZ;
        value.data = text + '\0';
        return true;
    }
    const std::string upper = UpperAscii(data);
    if (upper.compare(0, 6, "DWORD:") == 0) {
        const std::string digits = TrimBlanks(data.substr(6));
        if (digits.empty() || digits.size() > 8) {
            return false;
        }
        std::uint32_t number = 0;
        for (char c : digits) {
            const int digit = HexDigit(c);
            if (digit < 0) {
                return false;
            }
            number = number * 16 + static_cast<std::uint32_t>(digit);
        }
        value.type = REG_DWORD;
        value.data.clear();
        for (int shift = 0; shift < 32; shift += 8) {
            value.data += static_cast<char>((number >> shift) & 0xFF);
        }
        return true;
    }
    if (upper.compare(0, 3, "HEX") != 0) {
        return false;
    }
    std::size_t pos = 3;
    std::uint32_t type = REG_BINARY;
    if (pos < data.size() && data[pos] == '(') {
        const std::size_t close = data.find(')', pos);
        if (close == std::string::npos || close == pos + 1 || close - pos - 1 > 8) {
            return false;
        }
        type = 0;
        for (std::size_t k = pos + 1; k < close; ++k) {
            const int digit = HexDigit(data[k]);
            if (digit < 0) {
                return false;
            }
            type = type * 16 + static_cast<std::uint32_t>(digit);
        }
        pos = close + 1;
    }
    if (pos >= data.size() || data[pos] != ':') {
        return false;
    }
    std::string bytes;
    if (!ReadHexBytes(data.substr(pos + 1), bytes)) {
        return false;
    }
    value.type = type;
    // Text types are exported as UTF-16LE; a narrow query sees them as text.
    const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    value.data = text ? Utf16LeToUtf8(bytes) : bytes;
    return true;
}

}  // namespace

std::string RegistryFile::CanonicalPath(const std::string& path) {
    std::string canonical;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t end = path.find('\\', pos);
        if (end == std::string::npos) {
            end = path.size();
        }
        if (end > pos) {
            if (!canonical.empty()) {
                canonical += '\\';
            }
            canonical += UpperAscii(path.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return canonical;
}

std::string RegistryFile::ValueKey(const std::string& name) { return UpperAscii(name); }

void RegistryFile::AddKey(const std::string& canonicalPath) {
    // The parents of a key exist as well, even without sections of their own.
    std::size_t pos = 0;
    while ((pos = canonicalPath.find('\\', pos)) != std::string::npos) {
        keys_.emplace(canonicalPath.substr(0, pos), Values());
        ++pos;
    }
    keys_.emplace(canonicalPath, Values());
}

RegistryFile RegistryFile::Parse(const std::string& bytes) {
    RegistryFile file;
    TextEncoding encoding = TextEncoding::Utf8;
    const std::vector<LogicalLine> lines = SplitLines(DecodeText(bytes, encoding));
    bool headerSeen = false;
    Values* current = nullptr;
    for (const LogicalLine& logical : lines) {
        const std::string line = TrimBlanks(logical.text);
        if (line.empty()) {
            continue;
        }
        if (!headerSeen) {
            if (line != "Windows Registry Editor Version 5.00" && line != "REGEDIT4") {
                return RegistryFile();
            }
            headerSeen = true;
            continue;
        }
        if (line[0] == ';' || !logical.complete) {
            continue;
        }
        if (line[0] == '[') {
            current = nullptr;
            // "[-key]" removes a key on import; there is nothing to read in it.
            if (line.back() != ']' || (line.size() > 1 && line[1] == '-')) {
                continue;
            }
            const std::string path = CanonicalPath(line.substr(1, line.size() - 2));
            if (!path.empty()) {
                file.AddKey(path);
                current = &file.keys_[path];
            }
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        std::string name;
        std::size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (line[0] != '"' || !ReadQuoted(line, pos, name)) {
            continue;
        }
        while (pos < line.size() && IsBlank(line[pos])) {
            ++pos;
        }
        if (pos >= line.size() || line[pos] != '=') {
            continue;
        }
        const std::string dataText = line.substr(pos + 1);
        if (TrimBlanks(dataText) == "-") {
            current->erase(ValueKey(name));
            continue;
        }
        Value value;
        if (ReadData(dataText, value)) {
            (*current)[ValueKey(name)] = value;
        }
    }
    return file;
}

RegistryFile RegistryFile::Load(const std::string& nativePath) {
    std::string bytes;
    if (!ReadFileContents(nativePath, bytes)) {
        return RegistryFile();
    }
    return Parse(bytes);
}

const RegistryFile::Values* RegistryFile::FindKey(const std::string& path) const {
    const auto it = keys_.find(CanonicalPath(path));
    return it == keys_.end() ? nullptr : &it->second;
}

}  // namespace PLATFORM
