#include "reportframe/CsvFields.h"

#include "reportframe/ReportStrings.h"

std::string CsvField(const std::string& text) {
    std::string field;
    field.reserve(text.size() + 3);
    AppendCsvField(field, text);
    return field;
}

void AppendCsvField(std::string& line, const std::string& text) {
    line += '"';
    for (char c : text) {
        if (c == '"') {
            line += '"';
        }
        line += c;
    }
    line += "\",";
}

std::string CsvHeader(const std::vector<std::string>& titles) {
    std::string line;
    for (const std::string& title : titles) {
        line += CsvField(GetReportString(title));
    }
    return line;
}
