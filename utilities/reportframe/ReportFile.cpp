#include "reportframe/ReportFile.h"

#include <cerrno>
#include <cstring>

#include "platform/NativePath.h"
#include "platform/RunFiles.h"

namespace {

using PLATFORM::WritableFile;

// Lines are gathered and written in blocks of about this size.
constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

ReportFile::ReportFile(const std::string& path, Kind kind) {
    const std::string native = PLATFORM::NativePath(path);
    bool opened = false;
    switch (kind) {
        case Kind::kReplace:
            if (!file_.OpenReplacement(native)) {
                error_ = file_.NoReader() ? "no process reads the FIFO" : std::strerror(errno);
            }
            return;
        case Kind::kCreateNew:
            opened = file_.Open(native,
                                WritableFile::kCreate | WritableFile::kExclusive |
                                    WritableFile::kNoFollow | WritableFile::kRunFile,
                                0600);
            nameTaken_ = !opened && errno == EEXIST;
            break;
        case Kind::kTemp:
            opened = file_.Open(native,
                                WritableFile::kCreate | WritableFile::kTruncate |
                                    WritableFile::kNoFollow | WritableFile::kRunFile,
                                0600);
            break;
    }
    if (!opened) {
        // O_NOFOLLOW reports a link as "too many levels of links"; say what it is.
        error_ = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
    } else {
        created_ = native;
    }
}

ReportFile::~ReportFile() {
    if (!kept_ && !created_.empty()) {
        PLATFORM::RemoveFile(created_);
    }
}

void ReportFile::WriteLine(std::string_view line) {
    if (!file_.IsOpen()) {
        return;
    }
    pending_ += line;
    pending_ += '\n';
    if (pending_.size() >= kBlock) {
        Flush();
    }
}

bool ReportFile::Close() {
    if (!file_.IsOpen()) {
        return false;
    }
    Flush();
    if (!file_.Close() && error_.empty()) {
        Fail(file_.FailedCall());
    }
    closed_ = error_.empty();
    return closed_;
}

bool ReportFile::Keep() {
    if (!closed_) {
        return false;
    }
    if (!file_.PutInPlace()) {
        Fail(file_.FailedCall());
        return false;
    }
    if (!created_.empty()) {
        PLATFORM::DropRunFile(created_);
    }
    kept_ = true;
    return true;
}

void ReportFile::Flush() {
    if (error_.empty() && !file_.Append(pending_)) {
        Fail(file_.FailedCall());
    }
    pending_.clear();
}

void ReportFile::Fail(const std::string& what) {
    error_ = what + " failed: " + std::strerror(errno);
}
