#include "runtime/TimeText.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/LocalClock.h"
#include "runtime/ValueText.h"

namespace {

const char* const kFullDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};
const char* const kShortDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kFullMonthNames[] = {"",        "January",  "February", "March",  "April",
                                       "May",     "June",     "July",     "August", "September",
                                       "October", "November", "December"};
const char* const kShortMonthNames[] = {"",    "Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const char* const kDbTimestampFormat = "%Y%m%d%H%M%S%s";
constexpr std::size_t kDbTimestampLength = 17;

// Appends number in decimal, zeros in front up to width characters unless
// noFill is set.
void AppendNumber(std::string& out, long number, std::size_t width, bool noFill) {
    char digits[24];
    const auto length = static_cast<std::size_t>(
        std::to_chars(digits, digits + sizeof digits, number).ptr - digits);
    if (!noFill && length < width) out.append(width - length, '0');
    out.append(digits, length);
}

std::string Number(long number, std::size_t width, bool noFill) {
    std::string digits;
    AppendNumber(digits, number, width, noFill);
    return digits;
}

std::string ZoneName(std::size_t maxLength) {
    PLATFORM::TimeZone zone;
    if (!PLATFORM::ReadTimeZone(zone)) {
        return "";
    }
    return (zone.daylightInEffect ? zone.daylightName : zone.standardName).substr(0, maxLength);
}

// The offset of standard time from UTC, sign first: bias 300 gives "-0500".
std::string ZoneOffset() {
    PLATFORM::TimeZone zone;
    if (!PLATFORM::ReadTimeZone(zone)) {
        return "";
    }
    const long bias = std::labs(zone.biasMinutes);
    return (zone.biasMinutes < 0 ? "+" : "-") + Number(bias / 60, 2, false) +
           Number(bias % 60, 2, false);
}

}  // namespace

std::string FormatDateTime(const DateTime& time, std::string_view format) {
    std::string out;
    out.reserve(format.size() + 16);
    AppendDateTime(out, time, format);
    return out;
}

void AppendDateTime(std::string& out, const DateTime& time, std::string_view format) {
    PLATFORM::CalendarTime t;
    if (!PLATFORM::TicksToCalendar(time.value, t)) {
        return;
    }
    const bool morning = t.hour < 12;
    // Only three rare specifiers need the day of the year.
    const auto dayOfYear = [&time] { return DayOfYear(time); };
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        bool noFill = false;
        if (++i < format.size() && format[i] == '#') {
            noFill = true;
            ++i;
        }
        if (i >= format.size()) {
            break;
        }
        switch (format[i]) {
            case '%':
                out += '%';
                break;
            case 'a':
                out += kShortDayNames[t.dayOfWeek];
                break;
            case 'A':
                out += kFullDayNames[t.dayOfWeek];
                break;
            case 'b':
                out += kShortMonthNames[t.month];
                break;
            case 'B':
                out += kFullMonthNames[t.month];
                break;
            case 'c':
                out += PLATFORM::LocaleDateText(t, noFill) + " " + PLATFORM::LocaleTimeText(t);
                break;
            case 'd':
                AppendNumber(out, t.day, 2, noFill);
                break;
            case 'H':
                AppendNumber(out, t.hour, 2, noFill);
                break;
            case 'I':
                AppendNumber(out, t.hour == 0 ? 12 : (t.hour > 12 ? t.hour - 12 : t.hour), 2,
                             noFill);
                break;
            case 'j':
                AppendNumber(out, dayOfYear(), 0, true);
                break;
            case 'm':
                AppendNumber(out, t.month, 2, noFill);
                break;
            case 'M':
                AppendNumber(out, t.minute, 2, noFill);
                break;
            case 'p':
                out += morning ? "am" : "pm";
                break;
            case 'P':
                out += morning ? "AM" : "PM";
                break;
            case 's':
                AppendNumber(out, t.milliseconds, 3, noFill);
                break;
            case 'S':
                AppendNumber(out, t.second, 2, noFill);
                break;
            case 'T':
                out += ZoneOffset();
                break;
            // Week numbers as C's strftime counts them: the days before the first
            // Sunday (%U) or Monday (%W) of the year are week 0.
            case 'U':
                AppendNumber(out, (dayOfYear() - 1 + 7 - t.dayOfWeek) / 7, 2, noFill);
                break;
            case 'w':
                AppendNumber(out, t.dayOfWeek, 2, noFill);
                break;
            case 'W':
                AppendNumber(out, (dayOfYear() - 1 + 7 - (t.dayOfWeek + 6) % 7) / 7, 2, noFill);
                break;
            case 'x':
                out += PLATFORM::LocaleDateText(t, noFill);
                break;
            case 'X':
                out += PLATFORM::LocaleTimeText(t);
                break;
            case 'y':
                out += Number(t.year, 2, noFill).substr(2);
                break;
            case 'Y':
                AppendNumber(out, t.year, 4, noFill);
                break;
            case 'z':
                out += ZoneName(19);
                break;
            case 'Z':
                out += ZoneName(38);
                break;
            default:
                return;
        }
    }
}

std::string FormatDbTimestamp(const DateTime& time) {
    return FormatDateTime(time, kDbTimestampFormat);
}

void ParseDbTimestamp(DateTime& time, const std::string& text) {
    if (text.size() != kDbTimestampLength) {
        return;
    }
    // Each field as atoi reads it, so a writer that pads with blanks ("%2d")
    // is read as meant: " 5" is 5.
    const std::string_view digits(text);
    // The text as the system writes it, digits only, is read digit by
    // digit, which gives what atoi gives for it.
    const bool plain =
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    auto field = [digits, plain](std::size_t at, std::size_t length) {
        if (!plain) return CORVANE::ReadLeadingInteger(digits.substr(at, length));
        int number = 0;
        for (const char digit : digits.substr(at, length)) number = number * 10 + (digit - '0');
        return number;
    };
    PLATFORM::CalendarTime fields;
    fields.year = field(0, 4);
    fields.month = field(4, 2);
    fields.day = field(6, 2);
    fields.hour = field(8, 2);
    fields.minute = field(10, 2);
    fields.second = field(12, 2);
    fields.milliseconds = field(14, 3);
    std::uint64_t ticks = 0;
    if (PLATFORM::CalendarToTicks(fields, ticks)) {
        time.value = ticks;
    }
}
