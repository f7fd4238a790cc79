#pragma once

#include <string>
#include <string_view>

namespace PLATFORM {

// Text rules shared by the registry and INI readers. Names there are
// compared by ASCII letters only; other bytes must match exactly.

bool IsBlank(char c);

// text without its leading and trailing blanks (spaces and tabs).
std::string TrimBlanks(const std::string& text);

// text with a-z turned into A-Z.
std::string UpperAscii(std::string text);

bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// An order of names in which the names SameNameIgnoringCase takes for one
// are equal: below, equal to or above 0 as a comes before, with or after b.
int CompareNamesIgnoringCase(std::string_view a, std::string_view b);

}  // namespace PLATFORM
