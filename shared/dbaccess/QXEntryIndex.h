#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "Poco/Exception.h"
#include "Poco/MongoDB/Array.h"
#include "Poco/MongoDB/Document.h"

namespace DBACCESS {

// A bounded list of a mailbox's entries (addresses, items or templates),
// ordered by each entry's "pos". Entry is a record with a ValueVar<int>
// `pos` that turns read-only when a document loads it, so a stored entry
// keeps its stored position and any other takes the lowest free one.
template <class Entry>
class QXEntryIndex {
public:
    using Entries = std::map<std::int32_t, Entry>;

    explicit QXEntryIndex(std::uint32_t maximum) : maximum_(maximum) {}
    QXEntryIndex(const QXEntryIndex& other) = default;
    QXEntryIndex& operator=(const QXEntryIndex& other) = default;
    virtual ~QXEntryIndex() = default;

    // Stores a copy of entry under its own "pos" when that is read-only,
    // else under the lowest free position. False when the list is full. A
    // copy whose position is taken already is dropped, and that still
    // counts as stored (true).
    bool Add(const Entry& entry) {
        if (entries_.size() >= maximum_) return false;
        // Counts at most one step per stored entry, so it stays below the
        // maximum.
        int free = 0;
        for (const auto& stored : entries_) {
            if (free < stored.first) break;
            ++free;
        }
        Entry copy(entry);
        copy.pos.Set(free, true);
        entries_.emplace(copy.pos.value, copy);
        return true;
    }

    // Adds the entries of a stored array in index order; entries beyond the
    // maximum are not kept. An element that is not a sub-document, or that
    // the reader fails on, is skipped and the rest still load.
    void Load(Poco::MongoDB::Array::Ptr array) {
        for (std::size_t i = 0; i < array->size(); ++i) {
            Entry entry;
            try {
                entry.ParseSubDocument(
                    array->get<Poco::MongoDB::Document::Ptr>(static_cast<int>(i)), std::string());
                Add(entry);
            } catch (const Poco::Exception&) {
                // Missing or not a sub-document: one unreadable entry must
                // not cost the mailbox its other entries.
            }
        }
    }

    // Removes every entry; the maximum stays.
    void Clear() { entries_.clear(); }

    std::uint32_t Maximum() const { return maximum_; }
    const Entries& Stored() const { return entries_; }

private:
    std::uint32_t maximum_;
    Entries entries_;
};

}  // namespace DBACCESS
