#include "reportframe/CodeNames.h"

#include "reportframe/ReportStrings.h"

std::string UnknownCodeName(int code) { return "Unknown (" + std::to_string(code) + ")"; }

std::string CodeName(const char* const* names, std::size_t count, int code) {
    if (code < 0 || static_cast<std::size_t>(code) >= count || names[code] == nullptr) {
        return UnknownCodeName(code);
    }
    return GetReportString(names[code]);
}
