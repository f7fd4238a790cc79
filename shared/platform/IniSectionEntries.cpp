#include "platform/IniSectionEntries.h"

#include <algorithm>

#include "platform/IniLines.h"
#include "platform/SettingsText.h"

namespace PLATFORM {

IniSectionEntries::IniSectionEntries(std::shared_ptr<const std::string> text,
                                     const std::string& section)
    : text_(std::move(text)) {
    const std::string& content = *text_;
    enum { Before, Inside, After } state = Before;
    ForEachIniLine(content, [&](std::size_t begin, std::size_t end) {
        if (state == After) {
            return;
        }
        const IniLine line = ParseIniLine(content, begin, end);
        if (line.kind == IniLine::Kind::Section) {
            if (state == Inside) {
                state = After;
            } else if (SameNameIgnoringCase(line.Name(content), section)) {
                state = Inside;
            }
        } else if (line.kind == IniLine::Kind::Entry && state == Inside) {
            // Settings files are capped far below 4 GiB, so positions fit.
            entries_.push_back(Entry{static_cast<std::uint32_t>(line.nameBegin),
                                     static_cast<std::uint32_t>(line.nameEnd - line.nameBegin),
                                     static_cast<std::uint32_t>(line.valueBegin),
                                     static_cast<std::uint32_t>(line.valueEnd - line.valueBegin),
                                     line.hasValue});
        }
    });
    byKey_.resize(entries_.size());
    for (std::uint32_t i = 0; i < byKey_.size(); ++i) {
        byKey_[i] = i;
    }
    std::sort(byKey_.begin(), byKey_.end(), [this](std::uint32_t a, std::uint32_t b) {
        const int order = CompareNamesIgnoringCase(Key(entries_[a]), Key(entries_[b]));
        return order != 0 ? order < 0 : a < b;
    });
}

std::string_view IniSectionEntries::Key(const Entry& entry) const {
    return std::string_view(*text_).substr(entry.keyBegin, entry.keyLength);
}

std::string_view IniSectionEntries::Value(const Entry& entry) const {
    return std::string_view(*text_).substr(entry.valueBegin, entry.valueLength);
}

void IniSectionEntries::List(std::string& list, std::size_t limit) const {
    for (const Entry& entry : entries_) {
        if (list.size() >= limit) {
            return;
        }
        list += Key(entry);
        if (entry.hasValue) {
            list += '=';
            list += Value(entry);
        }
        list += '\0';
    }
}

bool IniSectionEntries::FindValue(const std::string& key, std::string& value) const {
    const auto first = std::lower_bound(
        byKey_.begin(), byKey_.end(), key, [this](std::uint32_t at, const std::string& wanted) {
            return CompareNamesIgnoringCase(Key(entries_[at]), wanted) < 0;
        });
    if (first == byKey_.end() || CompareNamesIgnoringCase(Key(entries_[*first]), key) != 0 ||
        !entries_[*first].hasValue) {
        return false;
    }
    value = std::string(Value(entries_[*first]));
    return true;
}

}  // namespace PLATFORM
