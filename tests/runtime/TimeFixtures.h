// Times the date and time tests share.

#pragma once

#include <cstdint>
#include <string>

#include "runtime/DateTime.h"
#include "runtime/TimeText.h"

// Ticks of the DateTime scale, worked out apart from the code under test.
constexpr std::uint64_t kApril11At130509007 =
    133573143090070000;  // Thursday 2024-04-11 13:05:09.007

// A 17-digit database time text as the DateTime it reads as.
inline DateTime At(const std::string& stamp) {
    DateTime time;
    ParseDbTimestamp(time, stamp);
    return time;
}
