#pragma once

#include <string>
#include <string_view>

namespace CORVANE {

// How a number value variable reads a text.

// The texts that mean a fixed value whatever the type: the empty text and
// the text of two double quotes (0), and "false"/"off" (0) and "true"/"on"
// (1) in any case. Returns false for any other text.
bool ReadValueKeyword(const std::string& text, int& number);

// A decimal integer the way atoi (T = int), atol (long) and atoll (long
// long) read one: leading blanks, an optional sign, digits up to the first
// non-digit, 0 when there is none. A number beyond the range of T gives the
// nearest end of that range.
template <typename T = int>
T ReadLeadingInteger(std::string_view text);

// As ReadLeadingInteger, but false when no digit can be read or the number
// does not fit T (int, long, unsigned long or long long; a negative number
// fits no unsigned type). Text after the digits is ignored ("12abc" is 12).
template <typename T>
bool ReadCheckedInteger(std::string_view text, T& number);

// A floating point number the way strtod reads one; false when nothing can
// be read or the number is too large for a double.
bool ReadDouble(const std::string& text, double& number);

}  // namespace CORVANE
