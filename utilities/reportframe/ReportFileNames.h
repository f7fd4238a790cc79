#pragma once

#include <string>

// The default report file: the temp folder (".\" when there is none) and the
// local time in the FormatDateTime pattern, e.g. "/tmp/GA202404111530.csv"
// for "GA%Y%m%d%H%M.csv". The file is not created.
std::string MakeReportFileName(const std::string& pattern);

// The name that follows path when path is taken: number 2 gives
// "/tmp/GA202404111530-2.csv" for "/tmp/GA202404111530.csv" (the number
// goes before the extension of the last name in the path, or at its end
// when it has none).
std::string NumberedFileName(const std::string& path, int number);

// A new, empty temp file whose name begins with prefix, e.g.
// "/tmp/grA1b2C3.tmp". When none can be made: a name in the current folder
// from the local time (".\" + "%Y%m%d%I%M%S%s.tmp"), not created.
std::string MakeTempFileName(const std::string& prefix);

// Collection names; each call returns a new string.
std::string MailboxCollection();
std::string TenantCollection();
std::string ReportMailboxActivityCollection();
