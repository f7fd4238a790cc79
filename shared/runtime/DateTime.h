#pragma once

#include <cstdint>

#include "runtime/TimeSpan.h"

// A point in local wall-clock time: 100-nanosecond units since 1601-01-01
// 00:00 of the local clock. No time-zone conversion happens anywhere, so a
// value is what the clock on the wall showed.
struct DateTime {
    // Status values.
    static constexpr std::int32_t kOk = 0;
    static constexpr std::int32_t kUnderflow = 2;  // a subtraction went below zero

    std::uint64_t value = 0;
    std::int32_t status = kOk;  // informative only; nothing resets it

    // The current local time; value 0 when the clock cannot be read.
    static DateTime Now();

    // value - span, or value 0 and status kUnderflow when the span is longer.
    DateTime& Subtract(const TimeSpan& span);
};

// The current local time as a value of the DateTime scale; 0 when the clock
// cannot be read.
std::uint64_t GetLocalFileTime();

// 1 to 366; 0 for a value too large to be a calendar date (2^63 and above).
int DayOfYear(const DateTime& time);
