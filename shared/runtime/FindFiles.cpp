#include "runtime/FindFiles.h"

#include "platform/FileSearch.h"

namespace QXUTIL {

void FindFiles::Clear() { files_.clear(); }

bool FindFiles::OnFile(const File& file) {
    files_.push_back(file);
    return true;
}

std::uint32_t FindFiles::Find(const std::string& folder, const std::string& pattern) {
    const std::string searchText =
        folder + (!folder.empty() && !pattern.empty() ? "\\" : "") + pattern;
    PLATFORM::FileSearch search(searchText);
    PLATFORM::FindRecord record;
    while (search.Next(record)) {
        if (record.attributes & PLATFORM::kFileAttributeDirectory) {
            continue;  // "." and ".." among them
        }
        OnFile(File(record, folder));
    }
    return static_cast<std::uint32_t>(files_.size());
}

std::multimap<std::string, File> FindFiles::SortByTime() const {
    std::multimap<std::string, File> byTime;
    for (const File& file : files_) {
        byTime.emplace(std::to_string(file.WriteTime()), file);  // after equal keys
    }
    return byTime;
}

}  // namespace QXUTIL
