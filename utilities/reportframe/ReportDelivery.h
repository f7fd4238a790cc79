#ifndef REPORTFRAME_REPORTDELIVERY_H
#define REPORTFRAME_REPORTDELIVERY_H

#include <string>

#include "reportframe/ReportContent.h"

// The last step of every report: writes the header and rows to standard
// output when neither an e-mail list nor a file is given, else to the file
// (the given one, or a new one in the temp folder named after the program's
// pattern); then, with an e-mail list, writes the mail body to a temp file
// and queues the mail task for the mail sender.
//
// The steps run whatever fails on the way, as the report form has it (a mail
// task is queued even when its report file could not be written). Afterwards
// ReportFailure is thrown when anything failed: the report file could not be
// opened or written, the site information for the mail body could not be
// read (the mail task is then not queued), the mail task could not be
// stored, or - passed in as databaseFailure by a builder that found the
// database unreachable at the start of its run - the report is empty for
// want of a database.
void DeliverReport(const ReportContent& report, const std::string& emailList,
                   const std::string& filePath, const std::string& databaseFailure);

#endif
