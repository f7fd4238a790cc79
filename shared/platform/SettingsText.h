#ifndef PLATFORM_SETTINGSTEXT_H
#define PLATFORM_SETTINGSTEXT_H

#include <string>

namespace PLATFORM {

// Text rules shared by the registry and INI readers. Names there are
// compared by ASCII letters only; other bytes must match exactly.

bool IsBlank(char c);

// text without its leading and trailing blanks (spaces and tabs).
std::string TrimBlanks(const std::string& text);

// text with a-z turned into A-Z.
std::string UpperAscii(std::string text);

bool SameNameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace PLATFORM

#endif
