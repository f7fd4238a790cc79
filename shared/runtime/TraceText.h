#pragma once

#include <cstdint>
#include <string>

#include "platform/LocalClock.h"

// Texts of the trace log.

// YYYY/MM/DD-HH:MM:SS:mmm, zero-filled (year in at least 4 digits).
std::string FormatTraceTime(const PLATFORM::CalendarTime& time);

// The local time now in the form of FormatTraceTime.
std::string CurrentTraceTime();

// One trace line: log name, process id and thread id (at least 4 digits
// each), time text, level (at least 8 upper-case hex digits) and message,
// separated by single spaces and ended by CR LF.
std::string FormatTraceLine(const std::string& logName, std::uint32_t processId,
                            std::uint32_t threadId, const std::string& timeText,
                            std::uint32_t level, const std::string& message);

// What the collector receives for a trace line: " 3~", the log identity
// right-aligned in 6 characters, "~ ", then the line as it is.
std::string FormatForwardText(std::uint32_t logId, const std::string& traceLine);
