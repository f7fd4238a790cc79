#pragma once

#include <string>
#include <vector>

#include "runtime/DateTime.h"

// One field of a report line: the text between double quotes, followed by a
// comma, the last field of a line included. A double quote inside the text
// is doubled, so that a CSV reader gets the text back whole.
std::string CsvField(const std::string& text);
// The same field appended to line, without a string of its own.
void AppendCsvField(std::string& line, const std::string& text);

// A time column appended to line: text read as a database time into working,
// then working written in format. The columns of a row share one working
// time, so a column whose text is no database time shows the time of the
// column before it.
void AppendCsvTime(std::string& line, DateTime& working, const std::string& text,
                   const char* format);

// The header line: each title passed through the report label table and
// written as a field.
std::string CsvHeader(const std::vector<std::string>& titles);
