#pragma once

#include <string>

#include "reportframe/ReportContent.h"

// The last step of every report: writes the header and rows to standard
// output when neither an e-mail list nor a file is given, else to the file
// (the given one, or a new one in the temp folder named after the report's
// file pattern, numbered when that name is taken); then, with an e-mail list,
// writes the mail body to a temp file and queues the mail task for the mail
// sender, naming both files by absolute native paths.
//
// It succeeds whole or throws ReportFailure, and then the mail sender is not
// woken and, up to the moment the mail task's insert is sent, no task is
// stored, no file of the run is left behind and the file at filePath is as
// it was: a given file is written beside its path and put in place once
// complete. From that moment the task may be stored and its report and body
// stay, the report put in place; a failure after it says so (the task's
// check that fails: the task may have been stored; a report that cannot be
// put in place, or a sender that cannot be woken: the task is stored).
// Failures: databaseFailure, passed in by a builder that found the database
// unreachable at the start of its run (then no file is written at all; on
// the console the empty report is still shown); a report path the mail task
// cannot hold as it is (before anything is written); a report file that
// cannot be opened, written or put in place; site information for the mail
// body that the database refused or failed to deliver; a mail task that
// cannot be stored or confirmed; a mail sender's semaphore that cannot be
// released.
void DeliverReport(const ReportContent& report, const std::string& emailList,
                   const std::string& filePath, const std::string& databaseFailure);
