#pragma once

#include <string>
#include <string_view>

#include "runtime/DateTime.h"

// strftime-like formatting of a local time. Codes: %% %a %A %b %B %c %d %H %I
// %j %m %M %p %P %s (milliseconds) %S %T (standard UTC offset, "-0500") %U %w
// %W %x %X %y %Y %z %Z; "%#" before a code drops the zero fill. Formatting
// stops at the first unknown code or a trailing "%" / "%#". A value too large
// to be a calendar date gives the empty text.
std::string FormatDateTime(const DateTime& time, std::string_view format);
// FormatDateTime(time, format) appended to out.
void AppendDateTime(std::string& out, const DateTime& time, std::string_view format);

// The 17-digit database time text YYYYMMDDHHMMSSmmm: equal-width fields, so
// text order is time order.
std::string FormatDbTimestamp(const DateTime& time);

// Sets time.value from a database time text of 17 characters. Each field
// (year 0-3, month 4-5, day 6-7, hour 8-9, minute 10-11, second 12-13,
// milliseconds 14-16) is read as atoi reads it: leading blanks, a sign, the
// digits up to the first other character. A text of another length, or
// whose fields then form no valid date and time (month 13, hour 24, 31
// April, a month of letters, which reads as 0), leaves `time` unchanged. The status
// is never touched.
void ParseDbTimestamp(DateTime& time, const std::string& text);
