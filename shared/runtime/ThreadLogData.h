#pragma once

#include <cstdint>
#include <string>

// One trace item on its way from the thread that traced it to the writer.
class ThreadLogData {
public:
    static constexpr std::int32_t kMessageLevel = 3;

    // A message of the given log, level 3, stamped with the calling thread and
    // process and the local time now.
    ThreadLogData(std::uint32_t logId, const std::string& message);

    // An item of no log (identity 0) and level 0: the writer ends its batch on
    // it. Stamped like the above.
    explicit ThreadLogData(const std::string& message);

    // Every field as given.
    ThreadLogData(std::uint32_t logId, std::uint32_t threadId, std::uint32_t processId,
                  const std::string& timeText, std::int32_t level, const std::string& message);

    std::uint32_t logId;  // 0: no log
    std::uint32_t threadId;
    std::uint32_t processId;
    std::string timeText;  // YYYY/MM/DD-HH:MM:SS:mmm
    std::int32_t level;
    std::string message;
};
