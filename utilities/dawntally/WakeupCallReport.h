#pragma once

#include <string>

// The wake-up call report: one row per wake-up event logged since `hours`
// hours ago (later ones included, however far ahead their time stamp),
// ordered by its time stamp, to the console, to filePath, and/or mailed to
// emailList with a count per action and per result. An event that cannot be
// read still gives a row, from the record's defaults. Throws ReportFailure
// when the report could not be made whole (no database, a file or the mail
// task that could not be written).
void BuildWakeupCallReport(int hours, const std::string& emailList, const std::string& filePath);
