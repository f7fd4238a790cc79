#include "runtime/TimeText.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "TimeFixtures.h"
#include "runtime/DateTime.h"
#include "support/ZoneScope.h"

namespace {

using TESTSUPPORT::ZoneScope;

// More ticks of the DateTime scale, worked out apart from the code under
// test.
constexpr std::uint64_t kJanuary1st2024 = 133485408000000000;
constexpr std::uint64_t kLastDayOf9999 = 2650467743999990000;  // 9999-12-31 23:59:59.999
constexpr std::uint64_t kSentinel = 123456789;

DateTime Ticks(std::uint64_t value) {
    DateTime time;
    time.value = value;
    return time;
}

TEST(DbTimestamp, ParsesSeventeenDigitsToTheMillisecond) {
    const std::pair<const char*, std::uint64_t> cases[] = {
        {"20240411130509007", kApril11At130509007},
        {"20240101000000000", kJanuary1st2024},
        {"16010101000000000", 0},
        {"99991231235959999", kLastDayOf9999},
    };
    for (const auto& [stamp, ticks] : cases) {
        DateTime time;
        time.status = DateTime::kUnderflow;
        ParseDbTimestamp(time, stamp);
        EXPECT_EQ(time.value, ticks) << stamp;
        EXPECT_EQ(time.status, DateTime::kUnderflow) << "the status is not the parser's";
        EXPECT_EQ(FormatDbTimestamp(time), stamp);
    }
}

TEST(DbTimestamp, RoundTripsEveryFieldPadded) {
    const char* const stamps[] = {"20240101000000000", "20241231235959999", "20000229120000001",
                                  "17761231091508250", "20240411010203004"};
    for (const char* stamp : stamps) {
        const DateTime time = At(stamp);
        EXPECT_EQ(FormatDbTimestamp(time), stamp);
        EXPECT_EQ(At(FormatDbTimestamp(time)).value, time.value) << stamp;
    }
    // Text order is time order.
    EXPECT_LT(FormatDbTimestamp(At("20240101000000000")),
              FormatDbTimestamp(At("20240101000000001")));
    EXPECT_LT(FormatDbTimestamp(At("20231231235959999")),
              FormatDbTimestamp(At("20240101000000000")));
}

// Each field is read as atoi reads it: blanks, a sign, digits up to the
// first other character.
TEST(DbTimestamp, ReadsEachFieldAsAtoiDoes) {
    const std::pair<std::string, std::uint64_t> cases[] = {
        {"2026121009 5 7000", 134413671070000000},  // 2026-12-10 09:05:07.000, "%2d" fields
        {"2024 4111305 9007", kApril11At130509007},
        {"2024+41113+5+9007", kApril11At130509007},
        {"2024\t41113\n5\r9007", kApril11At130509007},
        {"2024041113050900a", 133573143090000000},  // milliseconds "00a" are 0
        {"20240411130509  7", kApril11At130509007},
        {std::string("2024041113") + '\0' + "509007",
         133573140090070000},  // minute ends at the NUL
    };
    for (const auto& [stamp, ticks] : cases) {
        DateTime time;
        time.value = kSentinel;
        ParseDbTimestamp(time, stamp);
        EXPECT_EQ(time.value, ticks) << stamp;
    }
}

TEST(DbTimestamp, LeavesTheTimeAloneForMalformedText) {
    const std::string cases[] = {
        "",
        "2024041113050900",    // 16
        "202404111305090070",  // 18
        " 2024041113050900",   // year 202
        "+2024041113050900",   // year 202
        "-0240411130509007",
        "2024-4111305 9007",  // month -4
        "2024AB11130509007",  // month 0
        "202404111305-1007",  // second -1
        "        130509007",
        "20241311130509007",  // month 13
        "20240011130509007",  // month 0
        "20240400130509007",  // day 0
        "20240431130509007",  // 31 April
        "20230229130509007",  // 29 February of a common year
        "21000229000000000",  // 2100 is no leap year
        "20240411240000000",  // hour 24
        "20240411136009007",  // minute 60
        "20240411130560007",  // second 60
        "16001231235959999",  // before the scale begins
        std::string(17, '9'),
        std::string(10 * 1024 * 1024, '1'),
    };
    for (const std::string& text : cases) {
        DateTime time;
        time.value = kSentinel;
        ParseDbTimestamp(time, text);
        EXPECT_EQ(time.value, kSentinel) << text.substr(0, 20);
        EXPECT_EQ(time.status, DateTime::kOk);
    }
}

TEST(FormatDateTime, WritesEveryCode) {
    ZoneScope zone("ABC+5");
    const DateTime thursday = Ticks(kApril11At130509007);
    const std::pair<const char*, const char*> cases[] = {
        {"%Y%m%d%H%M%S%s", "20240411130509007"},
        {"%Y-%m-%d at %I:%M %p", "2024-04-11 at 01:05 pm"},
        {"%Y-%m-%d %I:%M %P", "2024-04-11 01:05 PM"},
        {"%#d/%#m", "11/4"},
        {"%%", "%"},
        {"100%% %a %A", "100% Thu Thursday"},
        {"%b %B", "Apr April"},
        {"%d %#d %H %#H %I %#I", "11 11 13 13 01 1"},
        {"%j %#j", "102 102"},
        {"%m %M %#M %S %#S", "04 05 5 09 9"},
        {"%s %#s", "007 7"},
        {"%w %#w", "04 4"},
        {"%U %W %#U", "14 15 14"},
        {"%y %#y %Y %#Y", "24 24 2024 2024"},
        {"%x", "04/11/24"},
        {"%#x", "Thursday, April 11, 2024"},
        {"%X", "13:05:09"},
        {"%c", "04/11/24 13:05:09"},
        {"%#c", "Thursday, April 11, 2024 13:05:09"},
        {"%T %#T", "-0500 -0500"},
        {"%z|%Z", "ABC|ABC"},
        {"GA%Y%m%d%H%M.csv", "GA202404111305.csv"},
        {"plain text", "plain text"},
        {"", ""},
    };
    for (const auto& [format, expected] : cases) {
        EXPECT_EQ(FormatDateTime(thursday, format), expected) << format;
    }
}

TEST(FormatDateTime, StopsAtAnUnknownCodeOrATrailingPercent) {
    const DateTime thursday = Ticks(kApril11At130509007);
    const std::pair<const char*, const char*> cases[] = {
        {"%Q%Y", ""},       {"%Y-%Q-%m", "2024-"}, {"%Y%", "2024"},
        {"%Y%#", "2024"},   {"%Y%#%m", "2024%m"},  // "%#%" is "%%"
        {"%Y %e", "2024 "},
    };
    for (const auto& [format, expected] : cases) {
        EXPECT_EQ(FormatDateTime(thursday, format), expected) << format;
    }
}

TEST(FormatDateTime, UsesTheTwelveHourClockAroundNoonAndMidnight) {
    const std::pair<const char*, const char*> cases[] = {
        {"20240411003000000", "12 am 12 AM"}, {"20240411070000000", "07 am 07 AM"},
        {"20240411115959999", "11 am 11 AM"}, {"20240411123000000", "12 pm 12 PM"},
        {"20240411130000000", "01 pm 01 PM"}, {"20240411235900000", "11 pm 11 PM"},
    };
    for (const auto& [stamp, expected] : cases) {
        EXPECT_EQ(FormatDateTime(At(stamp), "%I %p %I %P"), expected) << stamp;
    }
    EXPECT_EQ(FormatDateTime(At("20240411070000000"), "%#H"), "7");
    EXPECT_EQ(FormatDateTime(At("20240105000000000"), "%j"), "5");
}

TEST(FormatDateTime, NumbersWeeksFromTheFirstSundayOrMonday) {
    // Monday 1 January 2024; Sunday 7 January; Sunday 31 December 2023.
    const std::pair<const char*, const char*> cases[] = {
        {"20240101000000000", "00 01"}, {"20240106000000000", "00 01"},
        {"20240107000000000", "01 01"}, {"20240108000000000", "01 02"},
        {"20231231000000000", "53 52"}, {"20241231000000000", "52 53"},
    };
    for (const auto& [stamp, expected] : cases) {
        EXPECT_EQ(FormatDateTime(At(stamp), "%U %W"), expected) << stamp;
    }
}

TEST(FormatDateTime, WritesTheStandardOffsetAndTheZoneNameInEffect) {
    struct Case {
        const char* zone;
        const char* expected;  // of "%T %z %Z"
    };
    const Case cases[] = {
        {"ABC+5", "-0500 ABC ABC"},
        {"CET-1", "+0100 CET CET"},
        {"IST-5:30", "+0530 IST IST"},
        {"NST+3:30", "-0330 NST NST"},
        {"UTC0", "-0000 UTC UTC"},
        // Daylight saving all year: the name follows it, the offset does not.
        {"EST5EDT,0/0,J365/25", "-0500 EDT EDT"},
        {"LONGZONENAMEOFTWENTYSIX+1", "-0100 LONGZONENAMEOFTWENT LONGZONENAMEOFTWENTYSIX"},
    };
    for (const Case& c : cases) {
        ZoneScope zone(c.zone);
        EXPECT_EQ(FormatDateTime(Ticks(kApril11At130509007), "%T %z %Z"), c.expected) << c.zone;
    }
}

// Standard time as Windows means it is the winter time, also where the tz
// data marks the winter as daylight saving behind a "standard" summer time
// (Europe/Dublin). The names follow the season of the day the test runs, so
// only the offset is compared.
TEST(FormatDateTime, WritesTheWinterOffsetAsStandard) {
    const std::pair<const char*, const char*> cases[] = {
        {"IST-1GMT0,M10.5.0,M3.5.0/1", "-0000"},  // Dublin's rule, without the tz data
        {"Europe/Dublin", "-0000"},
        {"Europe/London", "-0000"},
        {"Europe/Berlin", "+0100"},
        {"America/New_York", "-0500"},
        {"Australia/Sydney", "+1000"},
        {"America/Santiago", "-0400"},
    };
    for (const auto& [name, expected] : cases) {
        ZoneScope zone(name);
        EXPECT_EQ(FormatDateTime(Ticks(kApril11At130509007), "%T"), expected) << name;
    }
}

TEST(FormatDateTime, GivesNothingPastTheCalendar) {
    EXPECT_EQ(FormatDateTime(Ticks(std::uint64_t{1} << 63), "%Y%m%d"), "");
    EXPECT_EQ(FormatDbTimestamp(Ticks(~std::uint64_t{0})), "");
}

}  // namespace
