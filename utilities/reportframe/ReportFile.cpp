#include "reportframe/ReportFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileReplacement.h"
#include "platform/FileWrite.h"
#include "platform/NativePath.h"

namespace {

// Lines are gathered and written in blocks of about this size.
constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

ReportFile::ReportFile(const std::string& path, Kind kind) {
    const std::string native = PLATFORM::NativePath(path);
    switch (kind) {
        case Kind::Replace:
            OpenForReplacement(native);
            return;
        case Kind::CreateNew:
            fd_ = PLATFORM::OpenFile(native, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
            nameTaken_ = fd_ < 0 && errno == EEXIST;
            break;
        case Kind::Temp:
            fd_ = PLATFORM::OpenFile(native, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600);
            break;
    }
    if (fd_ < 0) {
        // O_NOFOLLOW reports a link as "too many levels of links"; say what it is.
        error_ = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
    } else {
        written_ = native;
    }
}

void ReportFile::OpenForReplacement(const std::string& native) {
    // The system's own view of what the path names, links followed.
    struct stat info {};
    const bool exists = ::stat(native.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) {
        error_ = std::strerror(errno);
        return;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        error_ = std::strerror(EISDIR);
        return;
    }
    std::string target;
    if (exists && S_ISREG(info.st_mode)) {
        // The file to replace is the one the links lead to; a link that the
        // system resolves its own way ("/dev/stdout" to an open descriptor)
        // leads nowhere that can be replaced, and is written directly.
        struct stat found {};
        if (PLATFORM::FinalLinkTarget(native, target) && ::stat(target.c_str(), &found) == 0 &&
            found.st_dev == info.st_dev && found.st_ino == info.st_ino) {
            OpenBeside(target, &info);
            return;
        }
    } else if (!exists) {
        if (!PLATFORM::FinalLinkTarget(native, target)) {
            error_ = std::strerror(errno);
            return;
        }
        OpenBeside(target, nullptr);
        return;
    }
    // A device, a FIFO or a descriptor holds no earlier report to keep.
    fd_ = PLATFORM::OpenFile(native, O_WRONLY | O_TRUNC);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
    }
}

void ReportFile::OpenBeside(const std::string& target, const struct stat* existing) {
    mode_ = PLATFORM::ReplacementMode(existing);
    fd_ = PLATFORM::CreateFileBeside(target, written_);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return;
    }
    target_ = target;
}

ReportFile::~ReportFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!kept_ && !written_.empty()) {
        ::unlink(written_.c_str());
    }
}

void ReportFile::WriteLine(const std::string& line) {
    if (fd_ < 0) {
        return;
    }
    pending_ += line;
    pending_ += '\n';
    if (pending_.size() >= kBlock) {
        Flush();
    }
}

bool ReportFile::Close() {
    if (fd_ < 0) {
        return false;
    }
    Flush();
    // The replacement must be whole on disk before it takes the old file's
    // name, or a crash could leave an empty file there.
    if (error_.empty() && !target_.empty()) {
        if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) {
            Fail("chmod");
        } else if (::fsync(fd_) != 0) {
            Fail("fsync");
        }
    }
    if (::close(fd_) != 0 && error_.empty()) {
        Fail("close");
    }
    fd_ = -1;
    closed_ = error_.empty();
    return closed_;
}

bool ReportFile::Keep() {
    if (!closed_) {
        return false;
    }
    if (!target_.empty() && std::rename(written_.c_str(), target_.c_str()) != 0) {
        Fail("rename");
        return false;
    }
    kept_ = true;
    return true;
}

void ReportFile::Flush() {
    if (error_.empty() && !PLATFORM::WriteAll(fd_, pending_)) {
        Fail("write");
    }
    pending_.clear();
}

void ReportFile::Fail(const std::string& what) {
    error_ = what + " failed: " + std::strerror(errno);
}
