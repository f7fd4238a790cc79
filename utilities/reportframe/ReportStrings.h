#pragma once

#include <map>
#include <string>

#include "runtime/ProfileValue.h"

// The report label table: English label, spelled exactly as the reports
// print it, to the site's replacement from section "STRINGS" of
// "reportstrings.ini" in the reports' install folder. Empty until
// LoadReportStrings fills it; read-only afterwards.
extern std::map<std::string, QXUTIL::ProfileValue> ReportStrings;

// Fills ReportStrings from the label file. A missing or unreadable file, or
// one without the section, leaves every label in English.
void LoadReportStrings();

// The replacement of label, or label itself when it has none or an empty
// one.
std::string GetReportString(const std::string& label);
