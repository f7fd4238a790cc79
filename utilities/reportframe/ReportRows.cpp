#include "reportframe/ReportRows.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace {

std::uint32_t CheckedSize(std::size_t size) {
    if (size > std::numeric_limits<std::uint32_t>::max()) {
        throw std::length_error("a report row of " + std::to_string(size) + " bytes");
    }
    return static_cast<std::uint32_t>(size);
}

}  // namespace

void ReportRows::Add(std::string_view key, std::string_view row) {
    Entry entry{nullptr, CheckedSize(key.size()), CheckedSize(row.size())};
    entry.text = static_cast<char*>(arena_.AllocateLasting(key.size() + row.size()));
    std::memcpy(entry.text, key.data(), key.size());
    std::memcpy(entry.text + key.size(), row.data(), row.size());
    entries_.push_back(entry);
    if (entries_.size() > 1 && key < Key(entries_[entries_.size() - 2])) ordered_ = false;
}

std::size_t ReportRows::Count() const { return entries_.size(); }

std::string_view ReportRows::Key(const Entry& entry) {
    return std::string_view(entry.text, entry.keySize);
}

void ReportRows::Order() const {
    if (ordered_) return;
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return Key(a) < Key(b); });
    ordered_ = true;
}
