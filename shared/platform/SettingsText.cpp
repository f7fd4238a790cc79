#include "platform/SettingsText.h"

namespace PLATFORM {

namespace {

char UpperLetter(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

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

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperLetter(a[i]) != UpperLetter(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace PLATFORM
