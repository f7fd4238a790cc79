#include "platform/FileSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "platform/FindPattern.h"
#include "platform/NativePath.h"

namespace PLATFORM {

struct FileSearch::Listing {
    DIR* folder = nullptr;
};

namespace {

std::int64_t Seconds(const struct statx_timestamp& time) { return time.tv_sec; }

}  // namespace

FileSearch::FileSearch(const std::string& searchText) {
    const std::size_t split = searchText.find_last_of("\\/");
    std::string folder;
    if (split == std::string::npos) {
        // A bare pattern, or a drive and a pattern ("C:*.ltt"): the folder is the
        // current one, or the drive's root.
        const bool drive = searchText.size() >= 2 && searchText[1] == ':';
        folder = drive ? NativePath(searchText.substr(0, 2)) : std::string(".");
        pattern_ = drive ? searchText.substr(2) : searchText;
    } else {
        folder = NativePath(searchText.substr(0, split + 1));
        pattern_ = searchText.substr(split + 1);
    }
    if (pattern_.empty()) {
        return;
    }
    DIR* opened = ::opendir(folder.c_str());
    if (opened) {
        listing_ = new Listing{opened};
    }
}

FileSearch::~FileSearch() {
    if (listing_) {
        ::closedir(listing_->folder);
        delete listing_;
    }
}

bool FileSearch::Next(FindRecord& record) {
    if (!listing_) {
        return false;
    }
    while (const dirent* entry = ::readdir(listing_->folder)) {
        const std::string name = entry->d_name;
        if (!MatchesFindPattern(pattern_, name)) {
            continue;
        }
        struct statx info {};
        if (::statx(::dirfd(listing_->folder), entry->d_name, AT_STATX_SYNC_AS_STAT,
                    STATX_BASIC_STATS | STATX_BTIME, &info) != 0) {
            continue;
        }
        record.attributes = S_ISDIR(info.stx_mode) ? kFileAttributeDirectory : 0;
        record.writeTime = Seconds(info.stx_mtime);
        record.accessTime = Seconds(info.stx_atime);
        record.creationTime =
            (info.stx_mask & STATX_BTIME) ? Seconds(info.stx_btime) : record.writeTime;
        record.size = static_cast<std::uint32_t>(info.stx_size);
        record.name = name;
        return true;
    }
    return false;
}

}  // namespace PLATFORM
