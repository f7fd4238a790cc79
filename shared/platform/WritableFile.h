#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace PLATFORM {

// A file open for writing. Every system call the programs make to write a
// file is made here: opening, writing, syncing, closing, and replacing a file
// whole. Paths are native ones (NativePath). A call that fails returns false
// (or -1) with errno telling why, and FailedCall names the system call that
// failed.
class WritableFile {
public:
    // How Open treats the path; or-ed together.
    enum OpenFlag : unsigned {
        kCreate = 1u << 0,     // a missing file is made, with the given mode
        kExclusive = 1u << 1,  // with kCreate: fails (EEXIST) when anything is at the path
        kTruncate = 1u << 2,   // emptied when opened
        kAppend = 1u << 3,     // every write lands at the end, after any other writer's
        kNoFollow = 1u << 4,   // a symbolic link at the path is refused (ELOOP)
        kRunFile = 1u << 5,    // listed as a file of the run once opened (RunFiles.h)
    };

    WritableFile() = default;

    // Closes the file. A replacement that was not put in place is removed.
    ~WritableFile();

    WritableFile(const WritableFile&) = delete;
    WritableFile& operator=(const WritableFile&) = delete;

    // Opens the file at the path for writing.
    bool Open(const std::string& nativePath, unsigned flags, mode_t mode = 0);

    // Opens a replacement of the file at the path: the new contents go to a
    // file of their own beside it, "<file>.XXXXXX" (the name of <file> cut
    // short when it would not fit the longest name the folder takes), which
    // PutInPlace renames over it once complete, so that the file at the path
    // (and at the end of a failed run, too) is always whole. Until then the
    // replacement is listed as a file of the run (RunFiles.h). A symbolic
    // link is written through: its target is replaced and the link stays a
    // link. The replacement gets the permission bits of the file it replaces,
    // or for a new file 0666 less the umask. A device, a FIFO or a descriptor
    // ("/dev/stdout") holds nothing to keep and is written directly; a FIFO
    // that no process reads is not waited for but refused (ENXIO, and
    // NoReader tells it). A folder is refused (EISDIR).
    bool OpenReplacement(const std::string& nativePath);

    // After an OpenReplacement that failed: whether the path is a FIFO that
    // no process had open for reading.
    bool NoReader() const { return noReader_; }

    bool IsOpen() const { return fd_ >= 0; }

    // Writes every byte, going on after short and interrupted writes.
    bool Append(const char* data, std::size_t size);
    bool Append(const std::string& bytes);

    // Commits what was written to the disk.
    bool Sync();

    // Empties the file.
    bool Truncate();

    bool SetMode(mode_t mode);

    // The last access and last write times.
    bool SetTimes(const struct timespec& access, const struct timespec& write);

    // The size of the open file; -1 when it cannot be told.
    std::int64_t Size() const;

    // Whether the path (links followed) leads to the open file: false once it
    // was removed or replaced.
    bool IsAt(const std::string& nativePath) const;

    // Closes the file, which may report a delayed write error. A replacement
    // first gets its permission bits and is synced, so that it is whole on
    // disk before it takes the old file's name.
    bool Close();

    // After a Close that succeeded: puts a replacement in place of the file it
    // replaces. Nothing to do for any other file.
    bool PutInPlace();

    // The system call behind the last failure ("write", "fsync", ...).
    const char* FailedCall() const { return failedCall_; }

private:
    bool Failed(const char* call);
    bool OpenFifo(const std::string& nativePath);
    void CloseDescriptor();

    int fd_ = -1;
    std::string replacement_;  // the file beside the one replaced, until put in place
    std::string target_;       // the file replaced
    mode_t mode_ = 0;          // the permission bits the replacement ends with
    bool noReader_ = false;
    const char* failedCall_ = "";
};

// Removes the file at the path (a link itself, not its target) and takes it
// off the files of the run.
bool RemoveFile(const std::string& nativePath);

// Creates a folder at the path; false also when one exists already.
bool CreateFolder(const std::string& nativePath, mode_t mode);

}  // namespace PLATFORM
