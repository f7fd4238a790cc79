#include "runtime/ValueText.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "Poco/String.h"

namespace CORVANE {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

struct LeadingInteger {
    bool hasDigits = false;
    bool negative = false;
    bool overflow = false;  // the digits do not even fit the magnitude
    unsigned long long magnitude = 0;
};

// One pass over blanks, sign and digits. The magnitude is kept apart from
// the sign, so the most negative number of every type is read without
// overflowing and nothing beyond the widest range is ever computed.
LeadingInteger ReadInteger(std::string_view text) {
    LeadingInteger result;
    std::string_view::size_type pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        result.negative = text[pos] == '-';
        ++pos;
    }
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        result.hasDigits = true;
        if (result.overflow) continue;
        const unsigned digit = static_cast<unsigned>(text[pos] - '0');
        if (result.magnitude > (std::numeric_limits<unsigned long long>::max() - digit) / 10)
            result.overflow = true;
        else
            result.magnitude = result.magnitude * 10 + digit;
    }
    return result;
}

// The largest magnitude of a negative T: 0 for an unsigned type.
template <typename T>
unsigned long long NegativeLimit() {
    if constexpr (std::is_unsigned<T>::value)
        return 0;
    else
        return static_cast<unsigned long long>(-(std::numeric_limits<T>::min() + 1)) + 1;
}

template <typename T>
bool Fits(const LeadingInteger& read) {
    if (read.overflow) return false;
    return read.negative
               ? read.magnitude <= NegativeLimit<T>()
               : read.magnitude <= static_cast<unsigned long long>(std::numeric_limits<T>::max());
}

// The value of a read that fits T.
template <typename T>
T ValueOf(const LeadingInteger& read) {
    if constexpr (std::is_signed<T>::value) {
        if (read.negative && read.magnitude != 0)
            return static_cast<T>(-static_cast<T>(read.magnitude - 1) - 1);
    }
    return static_cast<T>(read.magnitude);
}

}  // namespace

bool ReadValueKeyword(const std::string& text, int& number) {
    // Every number a document holds is tested here first: the length picks
    // the one keyword a text could be.
    bool zero = false;
    switch (text.size()) {
        case 0:
            zero = true;
            break;
        case 2:
            zero = text == "\"\"";
            if (!zero && Poco::icompare(text, "on") != 0) return false;
            break;
        case 3:
            if (Poco::icompare(text, "off") != 0) return false;
            zero = true;
            break;
        case 4:
            if (Poco::icompare(text, "true") != 0) return false;
            break;
        case 5:
            if (Poco::icompare(text, "false") != 0) return false;
            zero = true;
            break;
        default:
            return false;
    }
    number = zero ? 0 : 1;
    return true;
}

template <typename T>
T ReadLeadingInteger(std::string_view text) {
    static_assert(std::is_signed<T>::value, "the C runtime reads signed integers");
    const LeadingInteger read = ReadInteger(text);
    if (Fits<T>(read)) return ValueOf<T>(read);
    return read.negative ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
}

template <typename T>
bool ReadCheckedInteger(std::string_view text, T& number) {
    const LeadingInteger read = ReadInteger(text);
    if (!read.hasDigits || !Fits<T>(read)) return false;
    number = ValueOf<T>(read);
    return true;
}

template int ReadLeadingInteger<int>(std::string_view);
template long ReadLeadingInteger<long>(std::string_view);
template long long ReadLeadingInteger<long long>(std::string_view);
template bool ReadCheckedInteger<int>(std::string_view, int&);
template bool ReadCheckedInteger<long>(std::string_view, long&);
template bool ReadCheckedInteger<unsigned long>(std::string_view, unsigned long&);
template bool ReadCheckedInteger<long long>(std::string_view, long long&);

bool ReadDouble(const std::string& text, double& number) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(begin, &end);
    if (end == begin) return false;
    if (errno == ERANGE && std::isinf(read)) return false;
    number = read;
    return true;
}

}  // namespace CORVANE
