#pragma once

#include <string>

// The guest activity report of the last `hours` hours: one row per activity
// record of a guest mailbox, ordered by its time stamp, to the console, to
// filePath, and/or mailed to emailList with a summary per activity, method
// and result. Throws ReportFailure when the report could not be made whole
// (no database, a file or the mail task that could not be written).
void BuildGuestActivityReport(int hours, const std::string& emailList, const std::string& filePath);
