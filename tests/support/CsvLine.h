#pragma once

#include <string>
#include <vector>

namespace TESTSUPPORT {

// The fields of a report line as a CSV reader finds them: quoted fields, a
// doubled quote inside one standing for a quote, separated by commas (the
// comma after the last field gives one more, empty, field).
std::vector<std::string> CsvFieldsOf(const std::string& line);

}  // namespace TESTSUPPORT
