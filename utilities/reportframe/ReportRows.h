#pragma once

#include <memory_resource>
#include <string_view>
#include <vector>

// A row line of a report and the key it is put in order by. The texts lie
// in memory that the report keeps for them (AddRow).
struct ReportRow {
    std::string_view key;
    std::string_view line;
};

using ReportRows = std::vector<ReportRow>;

// Adds a row whose texts are copies made in text, which must outlive rows.
void AddRow(ReportRows& rows, std::pmr::memory_resource& text, std::string_view key,
            std::string_view line);

// Puts rows in output order: by key, and rows of equal keys in the order
// they were added.
void PutInKeyOrder(ReportRows& rows);
