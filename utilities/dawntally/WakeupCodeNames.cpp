#include "dawntally/WakeupCodeNames.h"

#include <iterator>

#include "reportframe/CodeNames.h"
#include "reportframe/ReportStrings.h"

namespace {

const char* const kActionNames[] = {
    "Scheduled",       "Canceled",    "Called Guest", "Called Operator",
    "Alert stopped",   "Stopped",     "Check out",    "Reset",
    "Alert scheduled", "Alert email", "Alert call",   "Operator performed call",
};

const char* const kResultNames[] = {
    "Success", "Answered", "Snoozed",  "Not answered", "Busy",   "Voicemail",
    "No Line", "Invalid",  "Canceled", "Archived",     "Failed", "Maximum Attempts",
};

const char* const kSourceNames[] = {
    "Guest",
    "Administrator (telephone)",
    "Administration",
    nullptr,
    "Quillon",
    "PMS",
    "System",
    "User",
    "User (telephone)",
    "User (telephone)",
    "User (test application)",
    "CAS",
};

}  // namespace

std::string WakeupActionName(int code) { return CodeName(kActionNames, code); }

std::string WakeupResultName(int code) { return CodeName(kResultNames, code); }

std::string WakeupSourceName(int code) {
    if (code < 0 || code >= static_cast<int>(std::size(kSourceNames)) ||
        kSourceNames[code] == nullptr) {
        return std::to_string(code);
    }
    return GetReportString(kSourceNames[code]);
}
