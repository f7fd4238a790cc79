#include "runtime/ThreadLogData.h"

#include "platform/ProcessIds.h"
#include "runtime/TraceText.h"

ThreadLogData::ThreadLogData(std::uint32_t logId, const std::string& message)
    : ThreadLogData(logId, PLATFORM::CurrentThreadId(), PLATFORM::CurrentProcessId(),
                    CurrentTraceTime(), kMessageLevel, message) {}

ThreadLogData::ThreadLogData(const std::string& message)
    : ThreadLogData(0, PLATFORM::CurrentThreadId(), PLATFORM::CurrentProcessId(),
                    CurrentTraceTime(), 0, message) {}

ThreadLogData::ThreadLogData(std::uint32_t logId, std::uint32_t threadId, std::uint32_t processId,
                             const std::string& timeText, std::int32_t level,
                             const std::string& message)
    : logId(logId),
      threadId(threadId),
      processId(processId),
      timeText(timeText),
      level(level),
      message(message) {}
