#include "runtime/ValueText.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "Poco/String.h"

namespace CORVANE {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

struct LeadingInteger
{
    bool hasDigits = false;
    bool overflow = false;
    int number = 0;  // INT_MAX or INT_MIN on overflow
};

// One pass over blanks, sign and digits. The number is built towards its
// sign, so INT_MIN is read without overflowing and nothing beyond the
// range of int is ever computed.
LeadingInteger ReadInteger(const std::string& text)
{
    LeadingInteger result;
    std::string::size_type pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
    {
        negative = text[pos] == '-';
        ++pos;
    }
    int number = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
    {
        result.hasDigits = true;
        if (result.overflow)
            continue;
        const int digit = text[pos] - '0';
        if (negative)
        {
            if (number < (INT_MIN + digit) / 10)
                result.overflow = true;
            else
                number = number * 10 - digit;
        }
        else
        {
            if (number > (INT_MAX - digit) / 10)
                result.overflow = true;
            else
                number = number * 10 + digit;
        }
    }
    result.number = result.overflow ? (negative ? INT_MIN : INT_MAX) : number;
    return result;
}

}  // namespace

bool ReadValueKeyword(const std::string& text, int& number)
{
    if (text.empty() || text == "\"\"" || Poco::icompare(text, "false") == 0 ||
        Poco::icompare(text, "off") == 0)
    {
        number = 0;
        return true;
    }
    if (Poco::icompare(text, "true") == 0 || Poco::icompare(text, "on") == 0)
    {
        number = 1;
        return true;
    }
    return false;
}

int ReadLeadingInteger(const std::string& text)
{
    return ReadInteger(text).number;
}

bool ReadCheckedInteger(const std::string& text, int& number)
{
    const LeadingInteger result = ReadInteger(text);
    if (!result.hasDigits || result.overflow)
        return false;
    number = result.number;
    return true;
}

bool ReadDouble(const std::string& text, double& number)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(begin, &end);
    if (end == begin)
        return false;
    if (errno == ERANGE && std::isinf(read))
        return false;
    number = read;
    return true;
}

}  // namespace CORVANE
