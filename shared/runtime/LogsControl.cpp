#include "runtime/LogsControl.h"

#include <cstdio>
#include <tuple>
#include <utility>

#include "platform/LocalClock.h"
#include "runtime/SharedConstants.h"
#include "runtime/Trace.h"
#include "runtime/TraceModuleTable.h"
#include "runtime/TraceText.h"
#include "runtime/ZPushService.h"

namespace {

constexpr std::uint32_t kRegisterLockWait = 10000;  // ms RegisterLog waits for the lock
constexpr std::uint32_t kIdleWait = 30000;          // ms the writer waits for a first item
constexpr std::uint32_t kBatchItemWait = 10;        // ms it waits for each further item of a batch
constexpr std::uint32_t kItemLockWait = 1000;       // ms it waits for the lock per item

// 1 to 999: "LINE007", or "ROUTER-042" with a name.
std::string LineLogName(std::uint32_t logId, const std::string& name) {
    char number[16];
    std::snprintf(number, sizeof number, "%03u", static_cast<unsigned>(logId));
    return (name.empty() ? std::string("LINE") : name + "-") + number;
}

// 1000 and above without a table row, or registered already.
std::string FallbackLogName(std::uint32_t logId, const std::string& name) {
    if (!name.empty()) {
        return name;
    }
    if (logId >= 1100 && logId <= 1199) {
        return "HOSTEL" + std::to_string(logId - 1099);
    }
    if (logId >= 1200 && logId <= 1299) {
        return "PMS" + std::to_string(logId - 1199);
    }
    return "LOG" + std::to_string(logId);
}

int TodayOfMonth() {
    PLATFORM::CalendarTime now;
    PLATFORM::ReadLocalClock(now);
    return now.day;
}

}  // namespace

LogsControl::LogsControl() : queue_(kQueueLimit) {
    writer_ = std::thread(&LogsControl::WriterThread, this);
}

LogsControl::~LogsControl() { Stop(); }

std::string LogsControl::ForwardEndpoint() {
    return "tcp://" + kTraceCollectorHost + ":" + std::to_string(kCollectorPort);
}

void LogsControl::Stop() {
    stop_ = true;
    queue_.PushBack(ThreadLogData(TraceLogId, 0, 0, "", 0, ""));
    if (writer_.joinable()) {
        writer_.join();
    }
}

std::string LogsControl::LogName(std::uint32_t logId) {
    std::string name;
    if (lock_.Lock(SEMAPHORE::Mutex::kInfinite) == SEMAPHORE::Mutex::Acquired) {
        const auto found = logs_.find(logId);
        if (found != logs_.end()) {
            name = found->second.LogName();
        }
        lock_.Unlock();
    }
    return name;
}

bool LogsControl::RegisterLog(std::uint32_t logId, const std::string& name) {
    if (logId == 0) {
        return false;
    }
    if (lock_.Lock(kRegisterLockWait) != SEMAPHORE::Mutex::Acquired) {
        return false;
    }
    if (logId < 1000) {
        AddLog(logId, LineLogName(logId, name));
    } else {
        bool named = false;
        if (logs_.find(logId) == logs_.end()) {
            for (std::size_t row = 0; row < kTraceModuleTableSize; ++row) {
                if (TraceModuleTable[row].identity == logId) {
                    AddLog(logId, name.empty() ? std::string(TraceModuleTable[row].key) : name);
                    named = true;
                }
            }
        }
        if (!named) {
            AddLog(logId, FallbackLogName(logId, name));
        }
    }
    lock_.Unlock();
    return true;
}

void LogsControl::AddLog(std::uint32_t logId, const std::string& logName) {
    logs_.emplace(std::piecewise_construct, std::forward_as_tuple(logId),
                  std::forward_as_tuple(logName, logId));
}

void LogsControl::WriterThread(LogsControl* control) {
    control->rolloverDay_ = TodayOfMonth();
    QXUTIL::ZEROMQ::ZPushService messaging;
    while (true) {
        control->WriterTurn(messaging);
        if (control->stop_) {
            break;
        }
    }
    messaging.Disconnect(ForwardEndpoint());
}

std::size_t LogsControl::WriterTurn(QXUTIL::ZEROMQ::ZPushService& messaging) {
    // RegisterLog is public and may add to the logs map from any thread, so
    // the rollover pass walks the map under the same lock.
    if (lock_.Lock(SEMAPHORE::Mutex::kInfinite) == SEMAPHORE::Mutex::Acquired) {
        const int today = TodayOfMonth();
        if (today != rolloverDay_) {
            rolloverDay_ = today;
            for (auto& log : logs_) {
                log.second.DayRollover();
            }
        } else {
            for (auto& log : logs_) {
                log.second.SizeRollover();
            }
        }
        lock_.Unlock();
    }

    const ThreadLogData none("");
    ThreadLogData item = queue_.Pop(kIdleWait, none);
    std::size_t handled = 0;
    while (item.logId != 0 && handled < kBatchLimit) {
        WriteItem(item, messaging);
        if (++handled < kBatchLimit) {
            item = queue_.Pop(kBatchItemWait, none);
        }
    }
    return handled;
}

void LogsControl::WriteItem(const ThreadLogData& item, QXUTIL::ZEROMQ::ZPushService& messaging) {
    if (lock_.Lock(kItemLockWait) != SEMAPHORE::Mutex::Acquired) {
        return;
    }
    auto log = logs_.find(item.logId);
    if ((log == logs_.end() || log->second.LogName().empty()) && RegisterLog(item.logId, "")) {
        log = logs_.find(item.logId);
    }
    const std::string logName = log != logs_.end() ? log->second.LogName() : std::string();
    lock_.Unlock();

    if (consoleEcho_) {
        const std::string echo = logName + " " + item.timeText + " " + item.message + "\r\n";
        std::fwrite(echo.data(), 1, echo.size(), stdout);
        std::fflush(stdout);
    }
    if (!logName.empty()) {
        const std::string line =
            FormatTraceLine(logName, item.processId, item.threadId, item.timeText,
                            static_cast<std::uint32_t>(item.level), item.message);
        log->second.WriteLine(line);
        messaging.Send(ForwardEndpoint(), FormatForwardText(item.logId, line));
    }
}
