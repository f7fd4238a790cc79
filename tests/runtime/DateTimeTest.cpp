#include "runtime/DateTime.h"

#include <cstdint>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "TimeFixtures.h"
#include "runtime/TimeText.h"
#include "support/ZoneScope.h"

namespace {

using TESTSUPPORT::ZoneScope;

// More ticks of the DateTime scale (worked out apart from the code under
// test).
constexpr std::uint64_t kTicksPerSecond = 10000000;
constexpr std::uint64_t kTooLargeForACalendar = std::uint64_t{1} << 63;

TEST(DateTimeSubtract, TakesTheSpanOffOrStopsAtZero) {
    struct Case {
        std::uint64_t value;
        std::int32_t statusBefore;
        TimeSpan span;
        std::uint64_t valueAfter;
        std::int32_t statusAfter;
    };
    const Case cases[] = {
        {40000000, DateTime::kOk, {5, 0}, 0, DateTime::kUnderflow},
        {60000000, DateTime::kOk, {5, 0}, 10000000, DateTime::kOk},
        {60000000,
         DateTime::kUnderflow,
         {5, 0},
         10000000,
         DateTime::kUnderflow},                            // status is never reset
        {10000, DateTime::kOk, {0, 1}, 0, DateTime::kOk},  // exactly to zero is no underflow
        {9999, DateTime::kOk, {0, 1}, 0, DateTime::kUnderflow},
        {60000000, DateTime::kOk, {1, 500}, 45000000, DateTime::kOk},
        // The longest span must not wrap in 32 bits.
        {kApril11At130509007,
         DateTime::kOk,
         {4294967295u, 999},
         kApril11At130509007 - 42949672959990000,
         DateTime::kOk},
    };
    for (const Case& c : cases) {
        DateTime time;
        time.value = c.value;
        time.status = c.statusBefore;
        DateTime& result = time.Subtract(c.span);
        EXPECT_EQ(&result, &time);
        EXPECT_EQ(time.value, c.valueAfter)
            << c.value << " - " << c.span.seconds << "s " << c.span.milliseconds;
        EXPECT_EQ(time.status, c.statusAfter) << c.value << " - " << c.span.seconds << "s";
    }
}

TEST(DateTimeNow, FollowsTheLocalWallClockNotUtc) {
    ZoneScope zone("UTC0");
    const DateTime utc = DateTime::Now();
    zone.Set("ABC+5");  // five hours behind UTC, no daylight saving
    const DateTime local = DateTime::Now();
    const std::uint64_t localByFile = GetLocalFileTime();
    ASSERT_NE(utc.value, 0u);
    EXPECT_EQ(utc.status, DateTime::kOk);
    const std::int64_t behind = static_cast<std::int64_t>(utc.value - local.value);
    EXPECT_NEAR(static_cast<double>(behind), 5.0 * 3600 * kTicksPerSecond, 2.0 * kTicksPerSecond);
    EXPECT_NEAR(static_cast<double>(localByFile), static_cast<double>(local.value),
                2.0 * kTicksPerSecond);

    // The wall-clock fields the C library gives for this zone, on the 1601 scale.
    const std::time_t seconds = std::time(nullptr);
    std::tm tm{};
    ASSERT_NE(localtime_r(&seconds, &tm), nullptr);
    const double wallClock = (static_cast<double>(timegm(&tm)) + 11644473600.0) * kTicksPerSecond;
    EXPECT_NEAR(static_cast<double>(DateTime::Now().value), wallClock, 2.0 * kTicksPerSecond);
}

TEST(DayOfYear, CountsLeapDaysByTheGregorianRule) {
    const std::pair<const char*, int> cases[] = {
        {"20240101000000000", 1},   {"20240105000000000", 5},   {"20240229000000000", 60},
        {"20230301000000000", 60},  {"20241231235959999", 366}, {"21001231000000000", 365},
        {"20001231000000000", 366}, {"19001231000000000", 365}, {"16010101000000000", 1},
    };
    for (const auto& [stamp, day] : cases) {
        EXPECT_EQ(DayOfYear(At(stamp)), day) << stamp;
    }
}

TEST(DayOfYear, IsZeroPastTheCalendar) {
    DateTime time;
    time.value = kTooLargeForACalendar;
    EXPECT_EQ(DayOfYear(time), 0);
    time.value = kTooLargeForACalendar - 1;
    EXPECT_EQ(DayOfYear(time), 258);  // 14 September 30828, the last convertible day
}

}  // namespace
