#include "reportframe/ReportRows.h"

#include <algorithm>
#include <cstring>

namespace {

std::string_view Copy(std::string_view text, std::pmr::memory_resource& memory) {
    if (text.empty()) return std::string_view();
    auto* copy = static_cast<char*>(memory.allocate(text.size(), 1));
    std::memcpy(copy, text.data(), text.size());
    return std::string_view(copy, text.size());
}

}  // namespace

void AddRow(ReportRows& rows, std::pmr::memory_resource& text, std::string_view key,
            std::string_view line) {
    rows.push_back({Copy(key, text), Copy(line, text)});
}

void PutInKeyOrder(ReportRows& rows) {
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ReportRow& a, const ReportRow& b) { return a.key < b.key; });
}
