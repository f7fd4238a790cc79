#include "reportframe/ReportStrings.h"

#include "platform/IniReadScope.h"
#include "platform/PathAccess.h"
#include "platform/Win32Error.h"
#include "reportframe/InstallLocation.h"
#include "reportframe/StartupOrder.h"
#include "runtime/ProfileEdit.h"

std::map<std::string, QXUTIL::ProfileValue> ReportStrings QX_STARTUP_STEP(QX_STEP_REPORT_STRINGS);

void LoadReportStrings() {
    const std::string path =
        GetInstallLocation("qxreports", "InstallLocation", "c:\\vs", "\\reportstrings.ini", "", "");
    // Besides a missing file, a folder that cannot be searched means the
    // labels cannot be had either: the reports then stay in English.
    if (PLATFORM::PathAccessError(path) != PLATFORM::ERROR_SUCCESS) {
        return;
    }
    // The file is read once for the whole load, however many labels it holds.
    const PLATFORM::IniReadScope oneReading;
    QXUTIL::ProfileEdit labels;
    labels.OpenIni(path, "STRINGS", false);
    ReportStrings = labels.GetValues();
}

std::string GetReportString(const std::string& label) {
    const auto it = ReportStrings.find(label);
    if (it == ReportStrings.end() || it->second.Size() == 0) {
        return label;
    }
    std::string text;
    return it->second.GetString(text, label);
}
