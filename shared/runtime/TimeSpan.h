#pragma once

#include <cstdint>

// A length of time, as taken off a DateTime by DateTime::Subtract.
struct TimeSpan {
    std::uint32_t seconds = 0;
    std::uint32_t milliseconds = 0;
};
