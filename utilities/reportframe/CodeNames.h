#pragma once

#include <cstddef>
#include <string>

// The code-name tables of the reports are arrays indexed by code; a null
// entry is a code without a name.

// The name of code in names[0..count), passed through the label table, or
// "Unknown (code)" when the table has no name for it; that text is never
// looked up.
std::string CodeName(const char* const* names, std::size_t count, int code);

template <std::size_t N>
std::string CodeName(const char* const (&names)[N], int code) {
    return CodeName(names, N, code);
}
