#include "platform/SettingsText.h"

namespace PLATFORM {

namespace {

char UpperLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        c = UpperLetter(c);
    }
    return text;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNamesIgnoringCase(a, b) == 0;
}

int CompareNamesIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto left = static_cast<unsigned char>(UpperLetter(a[i]));
        const auto right = static_cast<unsigned char>(UpperLetter(b[i]));
        if (left != right) {
            return left < right ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace PLATFORM
