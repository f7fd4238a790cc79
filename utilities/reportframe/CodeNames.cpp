#include "reportframe/CodeNames.h"

#include "reportframe/ReportStrings.h"

std::string CodeName(const char* const* names, std::size_t count, int code) {
    if (code < 0 || static_cast<std::size_t>(code) >= count || names[code] == nullptr) {
        return "Unknown (" + std::to_string(code) + ")";
    }
    return GetReportString(names[code]);
}
