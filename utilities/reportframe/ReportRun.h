#pragma once

#include <functional>
#include <string>

#include "reportframe/ReportContent.h"

// The body every builder shares once its titles and sections are set:
// notes whether the database can be reached at all, lets collectRows fill
// the rows and counts, puts the rows in key order once, then delivers the
// report (DeliverReport). A failure
// of the database library on the way (a refusal, a time-out, a connection
// lost in mid-read) ends the run before anything is delivered, as a
// ReportFailure "database error: <its display text>".
void RunReport(ReportContent& report, const std::function<void(ReportContent&)>& collectRows,
               const std::string& emailList, const std::string& filePath);
