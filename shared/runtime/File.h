#pragma once

#include <cstdint>
#include <string>

#include "platform/FileSearch.h"

namespace QXUTIL {

// One file or folder as a search found it.
class File {
public:
    static constexpr int kKindFile = 1;
    static constexpr int kKindDirectory = 2;

    // From a find record and the folder that was searched: the path is
    // folder\name, or just the name when folder is empty.
    File(const PLATFORM::FindRecord& record, const std::string& folder);
    virtual ~File() = default;

    File(const File&) = default;
    File& operator=(const File&) = default;

    int Kind() const { return kind_; }
    const std::string& UpperName() const { return upperName_; }  // a-z as A-Z, nothing else changed
    const std::string& UpperPath() const { return upperPath_; }
    const std::string& Path() const { return path_; }
    const std::string& Name() const { return name_; }
    // Seconds since 1970-01-01 UTC.
    std::int64_t CreationTime() const { return creationTime_; }
    std::int64_t AccessTime() const { return accessTime_; }
    std::int64_t WriteTime() const { return writeTime_; }
    std::uint32_t Size() const { return size_; }

private:
    int kind_;
    std::string upperName_;
    std::string upperPath_;
    std::string path_;
    std::string name_;
    std::int64_t creationTime_;
    std::int64_t accessTime_;
    std::int64_t writeTime_;
    std::uint32_t size_;
};

}  // namespace QXUTIL
