#include "dbaccess/LogDBError.h"

#include <cstdio>
#include <vector>

#include "runtime/Trace.h"

void LogDBError(const std::string& function, int line, const std::string& text) {
    // Printed as C text: each part ends at its first zero byte, so a server
    // text holding one cannot put a zero byte into the trace file.
    const int length =
        std::snprintf(nullptr, 0, "%s(%d) DBError: %s", function.c_str(), line, text.c_str());
    if (length < 0) {
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), "%s(%d) DBError: %s", function.c_str(), line,
                  text.c_str());
    Trace(std::string(buffer.data()), "");
}
