#pragma once

#include <string>

// The message delivery report of the last `hours` hours: one row per
// activity entry of every delivery time-stamped in the window, ordered by
// the delivery's time stamp and, within a delivery, by the entry's, to the
// console, to filePath, and/or mailed to emailList with a count per
// activity. Throws ReportFailure when the report could not be made whole
// (no database, a file or the mail task that could not be written).
void BuildMessageDeliveryReport(int hours, const std::string& emailList,
                                const std::string& filePath);
