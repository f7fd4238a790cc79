#include "platform/IniFile.h"

#include "platform/FileContents.h"
#include "platform/IniLines.h"
#include "platform/SettingsText.h"

namespace PLATFORM {

IniFile::Line IniFile::Classify(const std::string& raw) {
    Line line;
    line.raw = raw;
    const IniLine parts = ParseIniLine(raw, 0, raw.size());
    if (parts.kind == IniLine::Kind::Section) {
        line.kind = Kind::Section;
        line.section = std::string(parts.Name(raw));
    } else if (parts.kind == IniLine::Kind::Entry) {
        line.kind = Kind::Entry;
        line.entry.key = std::string(parts.Name(raw));
        line.entry.hasValue = parts.hasValue;
        line.entry.value = std::string(parts.Value(raw));
    }
    return line;
}

IniFile IniFile::Load(const std::string& nativePath) {
    IniFile file;
    const std::string text = ReadIniText(nativePath, file.encoding_);
    const std::size_t firstEnd = text.find_first_of("\r\n");
    if (firstEnd != std::string::npos) {
        file.lineEnd_ =
            text.compare(firstEnd, 2, "\r\n") == 0 ? "\r\n" : std::string(1, text[firstEnd]);
    }
    ForEachIniLine(text, [&file, &text](std::size_t begin, std::size_t end) {
        file.lines_.push_back(Classify(text.substr(begin, end - begin)));
    });
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
