#pragma once

#include <cstdint>
#include <string>

namespace CORVANE {

// Case conversion of a text variable, applied to a proposal before its
// modifier. Any value other than these two leaves the text as it is.
constexpr std::int32_t kCaseConversionLower = -1;
constexpr std::int32_t kCaseConversionUpper = 1;

// text with its ASCII letters converted; bytes 0x80-0xFF are left alone.
std::string ConvertCase(const std::string& text, std::int32_t conversion);

}  // namespace CORVANE
