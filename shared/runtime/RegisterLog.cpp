#include <cstdio>

#include "runtime/LogsControl.h"
#include "runtime/TraceModuleTable.h"

namespace {

constexpr std::uint32_t kRegisterLockWait = 10000;  // ms

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

}  // namespace

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
