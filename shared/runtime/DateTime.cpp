#include "runtime/DateTime.h"

#include "platform/LocalClock.h"

DateTime DateTime::Now() {
    DateTime now;
    now.value = GetLocalFileTime();
    return now;
}

DateTime& DateTime::Subtract(const TimeSpan& span) {
    const std::uint64_t ticks =
        std::uint64_t{span.seconds} * 10000000u + std::uint64_t{span.milliseconds} * 10000u;
    if (value < ticks) {
        value = 0;
        status = kUnderflow;
    } else {
        value -= ticks;
    }
    return *this;
}

std::uint64_t GetLocalFileTime() {
    PLATFORM::CalendarTime now;
    std::uint64_t ticks = 0;
    if (!PLATFORM::ReadLocalClock(now) || !PLATFORM::CalendarToTicks(now, ticks)) {
        return 0;
    }
    return ticks;
}

int DayOfYear(const DateTime& time) {
    PLATFORM::CalendarTime fields;
    if (!PLATFORM::TicksToCalendar(time.value, fields)) {
        return 0;
    }
    int day = fields.day;
    for (int month = 1; month < fields.month; ++month) {
        day += PLATFORM::DaysInMonth(fields.year, month);
    }
    return day;
}
