#include "runtime/TimeText.h"

#include <cstdlib>
#include <string>

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

std::string Number(long number, std::size_t width, bool noFill) {
    std::string digits = std::to_string(number);
    if (!noFill && digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
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

std::string FormatDateTime(const DateTime& time, const std::string& format) {
    PLATFORM::CalendarTime t;
    if (!PLATFORM::TicksToCalendar(time.value, t)) {
        return "";
    }
    const bool morning = t.hour < 12;
    const int dayOfYear = DayOfYear(time);
    std::string out;
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
                out += Number(t.day, 2, noFill);
                break;
            case 'H':
                out += Number(t.hour, 2, noFill);
                break;
            case 'I':
                out += Number(t.hour == 0 ? 12 : (t.hour > 12 ? t.hour - 12 : t.hour), 2, noFill);
                break;
            case 'j':
                out += Number(dayOfYear, 0, true);
                break;
            case 'm':
                out += Number(t.month, 2, noFill);
                break;
            case 'M':
                out += Number(t.minute, 2, noFill);
                break;
            case 'p':
                out += morning ? "am" : "pm";
                break;
            case 'P':
                out += morning ? "AM" : "PM";
                break;
            case 's':
                out += Number(t.milliseconds, 3, noFill);
                break;
            case 'S':
                out += Number(t.second, 2, noFill);
                break;
            case 'T':
                out += ZoneOffset();
                break;
            // Week numbers as C's strftime counts them: the days before the first
            // Sunday (%U) or Monday (%W) of the year are week 0.
            case 'U':
                out += Number((dayOfYear - 1 + 7 - t.dayOfWeek) / 7, 2, noFill);
                break;
            case 'w':
                out += Number(t.dayOfWeek, 2, noFill);
                break;
            case 'W':
                out += Number((dayOfYear - 1 + 7 - (t.dayOfWeek + 6) % 7) / 7, 2, noFill);
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
                out += Number(t.year, 4, noFill);
                break;
            case 'z':
                out += ZoneName(19);
                break;
            case 'Z':
                out += ZoneName(38);
                break;
            default:
                return out;
        }
    }
    return out;
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
    auto field = [&text](std::size_t at, std::size_t length) {
        return CORVANE::ReadLeadingInteger(text.substr(at, length));
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
