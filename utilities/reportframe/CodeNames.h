#ifndef REPORTFRAME_CODENAMES_H
#define REPORTFRAME_CODENAMES_H

#include <cstddef>
#include <string>

// The code-name tables of the reports are arrays indexed by code; a null
// entry is a code without a name.

// "Unknown (code)": the text of a code outside its table, never looked up in
// the label table.
std::string UnknownCodeName(int code);

// The name of code in names[0..count), passed through the label table, or
// UnknownCodeName(code) when the table has no name for it.
std::string CodeName(const char* const* names, std::size_t count, int code);

template <std::size_t N>
std::string CodeName(const char* const (&names)[N], int code) {
    return CodeName(names, N, code);
}

#endif
