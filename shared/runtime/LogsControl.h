#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <thread>

#include "runtime/LogFile.h"
#include "runtime/Mutex.h"
#include "runtime/ThreadLogData.h"
#include "runtime/WorkStack.h"

namespace QXUTIL {
namespace ZEROMQ {
class ZPushService;
}
}  // namespace QXUTIL

// The process's trace controller: the trace queue, the trace logs by
// identity, and the writer thread that turns queued items into trace lines,
// writes them to their logs, echoes them to the console when asked and
// forwards them to the local collector. Items of identity 0 are no log's
// and are never written.
class LogsControl {
public:
    static constexpr std::size_t kQueueLimit = 200;
    static constexpr std::size_t kBatchLimit = 100;
    static constexpr std::uint32_t kCollectorPort = 10001;

    // Starts the writer thread; throws std::system_error when it cannot.
    LogsControl();

    // Stop, then the members: what is still queued is dropped, and every open
    // log is closed.
    virtual ~LogsControl();

    LogsControl(const LogsControl&) = delete;
    LogsControl& operator=(const LogsControl&) = delete;

    // Sets the stop flag, wakes the writer and joins it. Throws
    // std::system_error when called from the writer thread itself.
    void Stop();

    // Names and adds the log of an identity unless it is there already: 1 to
    // 999 are numbered lines ("LINE007", or name + "-007"); from 1000 on the
    // trace module table's key, else HOSTELn for 1100 to 1199, PMSn for 1200
    // to 1299 and LOGn for the rest; a given name wins over the table and
    // those fallbacks. False for identity 0 or when the controller's lock
    // could not be had within 10 s.
    bool RegisterLog(std::uint32_t logId, const std::string& name);

    // The registered name of an identity; empty when none is registered.
    std::string LogName(std::uint32_t logId);

    // When on, the writer also prints every item to standard output.
    void SetConsoleEcho(bool on) { consoleEcho_ = on; }

    // The queue the writer drains.
    QXUTIL::WorkStack<ThreadLogData>& Queue() { return queue_; }

    // One turn of the writer: the rollover pass over every log, a wait of up
    // to 30 s for an item, then a batch of at most 100 items. Returns how many
    // items the batch handled. Only the writer thread calls it while it runs;
    // after Stop it lets a caller drive the writer step by step.
    std::size_t WriterTurn(QXUTIL::ZEROMQ::ZPushService& messaging);

    // "tcp://127.0.0.1:10001"
    static std::string ForwardEndpoint();

private:
    static void WriterThread(LogsControl* control);

    // Echoes, writes and forwards one item; drops it when the controller's
    // lock is not had within 1 s.
    void WriteItem(const ThreadLogData& item, QXUTIL::ZEROMQ::ZPushService& messaging);

    // Adds a log under the lock, keeping one already there.
    void AddLog(std::uint32_t logId, const std::string& logName);

    std::atomic<bool> consoleEcho_{false};
    std::map<std::uint32_t, LogFile> logs_;
    std::thread writer_;
    SEMAPHORE::Mutex lock_;
    std::atomic<bool> stop_{false};
    QXUTIL::WorkStack<ThreadLogData> queue_;
    int rolloverDay_ = 0;  // day of the month of the last rollover pass; writer only
};

// The process's controller, built before main and stopped after it.
extern LogsControl GlobalLogsControl;
