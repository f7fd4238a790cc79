#pragma once

#include <cstdint>
#include <string>

namespace PLATFORM {

// Attribute bit of a find record that marks a folder.
constexpr std::uint32_t kFileAttributeDirectory = 0x10;

// What a find function reports of one directory entry.
struct FindRecord {
    std::uint32_t attributes = 0;   // kFileAttributeDirectory for a folder, else 0
    std::int64_t creationTime = 0;  // seconds since 1970-01-01 UTC; the last write
                                    // time where the file system keeps no birth time
    std::int64_t accessTime = 0;
    std::int64_t writeTime = 0;
    std::uint32_t size = 0;  // the low 32 bits of the size
    std::string name;
};

// The entries of one folder whose names match a pattern, as the Windows find
// functions list them: the search text is a folder and a pattern in the
// system's spelling ("C:\vs\TRACELOGS\LINE007*.ltt", translated by
// NativePath); only its last component holds wildcards, matched by
// MatchesFindPattern. "." and ".." are listed like any folder. Entries that
// vanish while the folder is read are left out.
class FileSearch {
public:
    explicit FileSearch(const std::string& searchText);
    ~FileSearch();

    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    // The next matching entry; false when there is none (also when the folder
    // could not be opened).
    bool Next(FindRecord& record);

private:
    struct Listing;
    Listing* listing_ = nullptr;
    std::string pattern_;
};

}  // namespace PLATFORM
