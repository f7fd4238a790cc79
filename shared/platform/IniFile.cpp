#include "platform/IniFile.h"

#include "platform/FileContents.h"
#include "platform/SettingsText.h"

namespace PLATFORM {

IniFile::Line IniFile::Classify(const std::string& raw) {
    Line line;
    line.raw = raw;
    // A NUL cannot be part of a line of text; what follows it is noise.
    const std::string text = TrimBlanks(raw.substr(0, raw.find('\0')));
    if (text.empty() || text[0] == ';') {
        return line;
    }
    if (text[0] == '[') {
        line.kind = Kind::Section;
        line.section = TrimBlanks(text.substr(1, text.find(']') - 1));
        return line;
    }
    line.kind = Kind::Entry;
    const std::size_t equals = text.find('=');
    line.entry.key = TrimBlanks(text.substr(0, equals));
    if (equals != std::string::npos) {
        line.entry.hasValue = true;
        line.entry.value = TrimBlanks(text.substr(equals + 1));
    }
    return line;
}

IniFile IniFile::Load(const std::string& nativePath) {
    IniFile file;
    std::string bytes;
    if (!ReadFileContents(nativePath, bytes)) {
        return file;
    }
    const std::string text = DecodeText(bytes, file.encoding_);
    const std::size_t firstEnd = text.find_first_of("\r\n");
    if (firstEnd != std::string::npos) {
        file.lineEnd_ = text.compare(firstEnd, 2, "\r\n") == 0 ? "\r\n" : std::string(1, text[firstEnd]);
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        file.lines_.push_back(Classify(text.substr(pos, end - pos)));
        pos = end;
        if (pos < text.size()) {
            pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
        }
    }
    return file;
}

std::size_t IniFile::FindSection(const std::string& section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Section && SameNameIgnoringCase(lines_[i].section, section)) {
            return i;
        }
    }
    return lines_.size();
}

std::size_t IniFile::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section) {
        ++i;
    }
    return i;
}

std::size_t IniFile::FindKey(std::size_t header, const std::string& key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Entry && SameNameIgnoringCase(lines_[i].entry.key, key)) {
            return i;
        }
    }
    return lines_.size();
}

std::vector<IniFile::Entry> IniFile::SectionEntries(const std::string& section) const {
    std::vector<Entry> entries;
    const std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        return entries;
    }
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Entry) {
            entries.push_back(lines_[i].entry);
        }
    }
    return entries;
}

bool IniFile::FindValue(const std::string& section, const std::string& key,
                        std::string& value) const {
    const std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        return false;
    }
    const std::size_t at = FindKey(header, key);
    if (at == lines_.size() || !lines_[at].entry.hasValue) {
        return false;
    }
    value = lines_[at].entry.value;
    return true;
}

bool IniFile::SetValue(const std::string& section, const std::string& key,
                       const std::string& value) {
    const Line entry = Classify(key + "=" + value);
    std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        if (!lines_.empty() && lines_.back().kind != Kind::Other) {
            lines_.push_back(Classify(""));
        }
        lines_.push_back(Classify("[" + section + "]"));
        lines_.push_back(entry);
        return true;
    }
    const std::size_t at = FindKey(header, key);
    if (at != lines_.size()) {
        if (lines_[at].raw == entry.raw) {
            return false;
        }
        lines_[at] = entry;
        return true;
    }
    // After the section's last entry, so blank lines before the next
    // section stay where they are.
    std::size_t insertAt = header + 1;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind == Kind::Entry) {
            insertAt = i + 1;
        }
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    return true;
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) {
    const std::size_t header = FindSection(section);
    if (header == lines_.size()) {
        return false;
    }
    const std::size_t at = FindKey(header, key);
    if (at == lines_.size()) {
        return false;
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

bool IniFile::DeleteSection(const std::string& section) {
    bool changed = false;
    for (std::size_t header = FindSection(section); header != lines_.size();
         header = FindSection(section)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(header)));
        changed = true;
    }
    return changed;
}

bool IniFile::Save(const std::string& nativePath) const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.raw;
        text += lineEnd_;
    }
    return ReplaceFileContents(nativePath, EncodeText(text, encoding_));
}

}  // namespace PLATFORM
