#ifndef PLATFORM_FILEWRITE_H
#define PLATFORM_FILEWRITE_H

#include <cstddef>
#include <string>

#include <sys/types.h>

namespace PLATFORM {

// open(2) of a native path with O_CLOEXEC added, again after an interrupted
// call. The descriptor, or -1 with errno set.
int OpenFile(const std::string& nativePath, int flags, mode_t mode = 0);

// Writes every byte, going on after short and interrupted writes. False,
// with errno set, when a write fails.
bool WriteAll(int fd, const char* data, std::size_t size);
bool WriteAll(int fd, const std::string& bytes);

}  // namespace PLATFORM

#endif
