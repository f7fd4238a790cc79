#include "dbaccess/LogDBError.h"

#include "runtime/Trace.h"

void LogDBError(const std::string& function, int line, const std::string& text) {
    Trace(function + "(" + std::to_string(line) + ") DBError: " + text, "");
}
