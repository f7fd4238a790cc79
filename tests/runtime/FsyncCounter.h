// Counts the disk commits (fsync) of one file from construction on. Every
// fsync of the runtime test binary passes through a definition of the
// binary's own, ahead of the C library's, that notes the file and makes the
// system call.

#pragma once

#include <sys/types.h>

#include <string>

class FsyncCounter {
public:
    // The file must exist.
    explicit FsyncCounter(const std::string& path);

    int Syncs() const;

private:
    dev_t device_;
    ino_t inode_;
    int before_;
};
