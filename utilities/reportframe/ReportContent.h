#pragma once

#include <cstddef>
#include <map>
#include <memory_resource>
#include <string>
#include <vector>

#include "platform/LargePages.h"
#include "reportframe/ReportRows.h"
#include "runtime/DateTime.h"

// One summary section of a mail body: its title (a label, passed through the
// label table), the number of rows per code, and the code-name table that
// names the codes. A section without counts is left out of the body.
struct SummarySection {
    std::string title;
    std::string (*name)(int code) = nullptr;
    std::map<int, int> counts;
};

// Everything a report builder hands over to be written and mailed.
struct ReportContent {
    std::string
        reportFilePattern;  // FormatDateTime pattern of the default report file, "GA%Y%m%d%H%M.csv"
    std::string tempPrefix;     // prefix of the mail body temp file, "gr"
    std::string subjectPrefix;  // the mail subject before the end time

    DateTime start;  // the report window
    DateTime end;

    std::string header;  // the header line
    // The texts of the rows, cut one after another from large pages: tens of
    // thousands of rows cost a few page faults rather than thousands.
    std::pmr::monotonic_buffer_resource rowText{std::size_t{2} << 20, PLATFORM::LargePages()};
    ReportRows rows;                       // row lines (AddRow), put in key order before delivery
    std::vector<SummarySection> sections;  // in body order
};
