#pragma once

#include <cstdint>
#include <string>

namespace PLATFORM {

// A local date and time split into calendar fields.
struct CalendarTime {
    int year = 1601;
    int month = 1;      // 1-12
    int dayOfWeek = 1;  // 0 = Sunday; ignored by CalendarToTicks
    int day = 1;        // 1-31
    int hour = 0;       // 0-23
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

// 28 to 31; month 1-12. Leap years: divisible by 400, or by 4 and not by 100.
int DaysInMonth(int year, int month);

// The local wall clock now (never UTC). False when it cannot be read.
bool ReadLocalClock(CalendarTime& now);

// Calendar fields to 100 ns units since 1601-01-01 00:00 and back. The
// fields must form a real date and time in the years 1601 to 30827; ticks
// must be below 2^63. False otherwise, leaving the output untouched.
bool CalendarToTicks(const CalendarTime& time, std::uint64_t& ticks);
bool TicksToCalendar(std::uint64_t ticks, CalendarTime& time);

// The process's time zone, as set by TZ.
struct TimeZone {
    long biasMinutes = 0;           // of standard (winter) time: UTC = local + bias
    std::string standardName;       // e.g. "EST"
    std::string daylightName;       // e.g. "EDT"; the standard name when the zone has none
    bool daylightInEffect = false;  // now, not at some given time
};

// False when the zone cannot be read.
bool ReadTimeZone(TimeZone& zone);

// Date and time texts of the C/POSIX locale: short date "04/11/24", long
// date "Thursday, April 11, 2024", time "13:05:09".
std::string LocaleDateText(const CalendarTime& time, bool longForm);
std::string LocaleTimeText(const CalendarTime& time);

}  // namespace PLATFORM
