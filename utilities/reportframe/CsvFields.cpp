#include "reportframe/CsvFields.h"

#include "reportframe/ReportStrings.h"
#include "runtime/TimeText.h"

std::string CsvField(const std::string& text) {
    std::string field;
    field.reserve(text.size() + 3);
    AppendCsvField(field, text);
    return field;
}

void AppendCsvField(std::string& line, const std::string& text) {
    line += '"';
    // The text goes over in runs up to and including each double quote,
    // which is then doubled.
    std::string::size_type start = 0;
    for (auto quote = text.find('"'); quote != std::string::npos; quote = text.find('"', start)) {
        line.append(text, start, quote + 1 - start);
        line += '"';
        start = quote + 1;
    }
    line.append(text, start, std::string::npos);
    line += "\",";
}

void AppendCsvTime(std::string& line, DateTime& working, const std::string& text,
                   const char* format) {
    ParseDbTimestamp(working, text);
    std::string time;
    AppendDateTime(time, working, format);
    AppendCsvField(line, time);
}

std::string CsvHeader(const std::vector<std::string>& titles) {
    std::string line;
    for (const std::string& title : titles) {
        line += CsvField(GetReportString(title));
    }
    return line;
}
