#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/BlockArena.h"

// The row lines of a report in output order: by key, and rows of equal keys
// in the order they were added. The lines are kept in an arena of their own,
// apart from the heap that the records they are made from come and go in, so
// that a window of many rows leaves that heap as compact as one of a few.
class ReportRows {
public:
    ReportRows() = default;
    ReportRows(const ReportRows&) = delete;
    ReportRows& operator=(const ReportRows&) = delete;

    void Add(std::string_view key, std::string_view row);
    std::size_t Count() const;

    // visit(row) for each row, in output order.
    template <typename Visit>
    void ForEach(Visit&& visit) const {
        Order();
        for (const Entry& entry : entries_) {
            visit(std::string_view(entry.text + entry.keySize, entry.rowSize));
        }
    }

private:
    struct Entry {
        char* text;  // the key, then the row
        std::uint32_t keySize;
        std::uint32_t rowSize;
    };

    static std::string_view Key(const Entry& entry);
    // Rows mostly come in key order; the few that do not are put in place
    // once, before the first visit.
    void Order() const;

    CORVANE::BlockArena arena_;
    mutable std::vector<Entry> entries_;
    mutable bool ordered_ = true;
};
