#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace PLATFORM {

// One section of an INI file as the profile functions read it (see
// IniLines.h): the entries of the first section of the name, any case, in
// file order, and the first entry of each key found by its name in any
// case. Made once per file and section and asked many times, so it keeps
// positions in the file's text, not copies, and a sorted index of the keys.
class IniSectionEntries {
public:
    // text is the whole decoded file, shared by the sections made from it.
    IniSectionEntries(std::shared_ptr<const std::string> text, const std::string& section);

    // Appends each entry as "key=value" (an entry without "=" as its key
    // alone) followed by a NUL, in file order, until list holds at least
    // limit characters or the entries end.
    void List(std::string& list, std::size_t limit) const;

    // The value of key's first entry, trimmed, quotes kept; false when the
    // section has no such key or that entry holds no "=".
    bool FindValue(const std::string& key, std::string& value) const;

private:
    struct Entry {
        std::uint32_t keyBegin;
        std::uint32_t keyLength;
        std::uint32_t valueBegin;
        std::uint32_t valueLength;
        bool hasValue;
    };

    std::string_view Key(const Entry& entry) const;
    std::string_view Value(const Entry& entry) const;

    std::shared_ptr<const std::string> text_;
    std::vector<Entry> entries_;
    // Positions in entries_, ordered by key ignoring case, equal keys in
    // file order.
    std::vector<std::uint32_t> byKey_;
};

}  // namespace PLATFORM
