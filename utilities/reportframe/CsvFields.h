#pragma once

#include <string>
#include <vector>

// One field of a report line: the text between double quotes, followed by a
// comma, the last field of a line included. A double quote inside the text
// is doubled, so that a CSV reader gets the text back whole.
std::string CsvField(const std::string& text);
// The same field appended to line, without a string of its own.
void AppendCsvField(std::string& line, const std::string& text);

// The header line: each title passed through the report label table and
// written as a field.
std::string CsvHeader(const std::vector<std::string>& titles);
