#include "runtime/TraceText.h"

#include <cstdio>

std::string FormatTraceTime(const PLATFORM::CalendarTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d-%02d:%02d:%02d:%03d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.milliseconds);
    return text;
}

std::string CurrentTraceTime() {
    PLATFORM::CalendarTime now;
    PLATFORM::ReadLocalClock(now);
    return FormatTraceTime(now);
}

std::string FormatTraceLine(const std::string& logName, std::uint32_t processId,
                            std::uint32_t threadId, const std::string& timeText,
                            std::uint32_t level, const std::string& message) {
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " %04u %04u ", static_cast<unsigned>(processId),
                  static_cast<unsigned>(threadId));
    char levelText[16];
    std::snprintf(levelText, sizeof levelText, " %08X ", static_cast<unsigned>(level));
    return logName + numbers + timeText + levelText + message + "\r\n";
}

std::string FormatForwardText(std::uint32_t logId, const std::string& traceLine) {
    char head[32];
    std::snprintf(head, sizeof head, "%2d~%6u~ ", 3, static_cast<unsigned>(logId));
    return head + traceLine;
}
