#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "runtime/File.h"

namespace QXUTIL {

// Collects the files of folders that match find patterns. Each Find adds to
// what earlier ones collected; folders are never collected. A derived lister
// overrides OnFile to filter the files or act on them.
class FindFiles {
public:
    FindFiles() = default;
    virtual ~FindFiles() = default;

    FindFiles(const FindFiles&) = delete;
    FindFiles& operator=(const FindFiles&) = delete;

    // Forgets every collected file.
    virtual void Clear();

    // Hands every file of folder that matches pattern (the wildcards of the
    // Windows find functions, letters in any case) to OnFile. A folder that
    // does not exist, or a pattern that matches nothing, adds nothing. Returns
    // how many files are collected now.
    std::uint32_t Find(const std::string& folder, const std::string& pattern);

    // The collected files keyed by their last-write time as decimal text;
    // files of the same second keep their collection order. The order of the
    // keys is time order while the times have equal numbers of digits
    // (September 2001 to November 2286).
    std::multimap<std::string, File> SortByTime() const;

    // Keeps a copy of the file; true.
    virtual bool OnFile(const File& file);

    const std::vector<File>& Files() const { return files_; }

private:
    std::vector<File> files_;
};

}  // namespace QXUTIL
