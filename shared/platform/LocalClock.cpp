#include "platform/LocalClock.h"

#include <time.h>

#include <mutex>

namespace PLATFORM {

namespace {

constexpr std::int64_t kTicksPerMillisecond = 10000;
constexpr std::int64_t kTicksPerSecond = 1000 * kTicksPerMillisecond;
constexpr std::int64_t kTicksPerDay = 86400 * kTicksPerSecond;
constexpr std::int64_t kDaysFrom1601To1970 = 134774;
constexpr std::uint64_t kFirstInvalidTicks = std::uint64_t{1} << 63;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's
// civil-day algorithms), valid for every year used here.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, CalendarTime& time) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    time.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    time.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    time.year = static_cast<int>(yearOfEra + era * 400 + (time.month <= 2));
}

struct tm ToTm(const CalendarTime& time) {
    struct tm tm {};
    tm.tm_year = time.year - 1900;
    tm.tm_mon = time.month - 1;
    tm.tm_mday = time.day;
    tm.tm_wday = time.dayOfWeek;
    tm.tm_hour = time.hour;
    tm.tm_min = time.minute;
    tm.tm_sec = time.second;
    return tm;
}

// The zone is loaded once per process: reloading it on each read costs a
// stat of the zone file per call and races with localtime_r in other
// threads. Whoever changes TZ later calls tzset itself.
void LoadZoneOnce() {
    static std::once_flag loaded;
    std::call_once(loaded, [] { tzset(); });
}

// The programs never call setlocale, so strftime speaks the C locale.
std::string Strftime(const char* format, const CalendarTime& time) {
    const struct tm tm = ToTm(time);
    char buffer[128];
    const std::size_t length = strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, length);
}

// The UTC offset (seconds east) of standard time as Windows means it: the
// zone's winter time, which is never ahead of its summer time. The tz data
// of a few zones (Europe/Dublin) calls the summer time standard and marks
// the winter time as daylight saving with a negative save, so glibc's
// `timezone` gives the summer offset there: a daylight period of the past
// year that is behind it is the standard time meant. Samples half a month
// apart see every daylight period of the year.
long StandardOffsetSeconds(time_t now) {
    long standard = -timezone;
    constexpr time_t Step = 365 * 86400 / 24;
    for (int sample = 0; sample < 24; ++sample) {
        const time_t at = now - sample * Step;
        struct tm tm {};
        if (localtime_r(&at, &tm) != nullptr && tm.tm_isdst > 0 && tm.tm_gmtoff < standard) {
            standard = tm.tm_gmtoff;
        }
    }
    return standard;
}

}  // namespace

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
    return month == 2 && leap ? 29 : days[month - 1];
}

bool ReadLocalClock(CalendarTime& now) {
    timespec ts{};
    if (clock_gettime(CLOCK_REALTIME, &ts) != 0) {
        return false;
    }
    LoadZoneOnce();
    struct tm tm {};
    if (localtime_r(&ts.tv_sec, &tm) == nullptr) {
        return false;
    }
    now.year = tm.tm_year + 1900;
    now.month = tm.tm_mon + 1;
    now.dayOfWeek = tm.tm_wday;
    now.day = tm.tm_mday;
    now.hour = tm.tm_hour;
    // A leap second shows as :59 again, as a clock that cannot show :60 does.
    now.minute = tm.tm_min;
    now.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
    now.milliseconds = static_cast<int>(ts.tv_nsec / 1000000);
    return true;
}

bool CalendarToTicks(const CalendarTime& time, std::uint64_t& ticks) {
    if (time.year < 1601 || time.year > 30827 || time.month < 1 || time.month > 12 ||
        time.day < 1 || time.day > DaysInMonth(time.year, time.month) || time.hour < 0 ||
        time.hour > 23 || time.minute < 0 || time.minute > 59 || time.second < 0 ||
        time.second > 59 || time.milliseconds < 0 || time.milliseconds > 999) {
        return false;
    }
    const std::int64_t days = DaysFromCivil(time.year, time.month, time.day) + kDaysFrom1601To1970;
    const std::int64_t seconds = (time.hour * 60 + time.minute) * 60 + time.second;
    ticks = static_cast<std::uint64_t>(days * kTicksPerDay + seconds * kTicksPerSecond +
                                       time.milliseconds * kTicksPerMillisecond);
    return true;
}

bool TicksToCalendar(std::uint64_t ticks, CalendarTime& time) {
    if (ticks >= kFirstInvalidTicks) {
        return false;
    }
    const auto signedTicks = static_cast<std::int64_t>(ticks);
    const std::int64_t days = signedTicks / kTicksPerDay;
    const std::int64_t ofDay = signedTicks % kTicksPerDay;
    CalendarTime result;
    CivilFromDays(days - kDaysFrom1601To1970, result);
    result.dayOfWeek = static_cast<int>((days + 1) % 7);  // 1601-01-01 was a Monday
    result.hour = static_cast<int>(ofDay / (3600 * kTicksPerSecond));
    result.minute = static_cast<int>(ofDay / (60 * kTicksPerSecond) % 60);
    result.second = static_cast<int>(ofDay / kTicksPerSecond % 60);
    result.milliseconds = static_cast<int>(ofDay / kTicksPerMillisecond % 1000);
    time = result;
    return true;
}

bool ReadTimeZone(TimeZone& zone) {
    LoadZoneOnce();
    const time_t now = time(nullptr);
    struct tm tm {};
    if (now == static_cast<time_t>(-1) || localtime_r(&now, &tm) == nullptr) {
        return false;
    }
    zone.biasMinutes = -StandardOffsetSeconds(now) / 60;
    zone.standardName = tzname[0] != nullptr ? tzname[0] : "";
    zone.daylightName = daylight != 0 && tzname[1] != nullptr ? tzname[1] : zone.standardName;
    zone.daylightInEffect = tm.tm_isdst > 0;
    return true;
}

std::string LocaleDateText(const CalendarTime& time, bool longForm) {
    return Strftime(longForm ? "%A, %B %d, %Y" : "%m/%d/%y", time);
}

std::string LocaleTimeText(const CalendarTime& time) { return Strftime("%H:%M:%S", time); }

}  // namespace PLATFORM
