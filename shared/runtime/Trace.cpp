#include "runtime/Trace.h"

#include "runtime/LogsControl.h"
#include "runtime/StartupOrder.h"
#include "runtime/ThreadLogData.h"

std::uint32_t TraceLogId = 0;

LogsControl GlobalLogsControl QX_STARTUP_STEP(QX_STEP_LOGS_CONTROL);

void Trace(const std::string& message, const std::string& prefix) {
    if (message.empty()) {
        return;
    }
    GlobalLogsControl.Queue().PushBack(ThreadLogData(TraceLogId, prefix + message));
}

void TraceMessage(const std::string& message) { Trace(message, ""); }
