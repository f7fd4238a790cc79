#pragma once

#include <string>
#include <vector>

// A row line of a report and the key it is put in order by.
struct ReportRow {
    std::string key;
    std::string line;
};

using ReportRows = std::vector<ReportRow>;

// Puts rows in output order: by key, and rows of equal keys in the order
// they were added.
void PutInKeyOrder(ReportRows& rows);
