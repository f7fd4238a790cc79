#pragma once

#include <string>

namespace PLATFORM {

// Prefix of the machine-wide name space of named mutexes and semaphores.
extern const char* const kGlobalNamePrefix;  // "Global\"

// Maps a kernel object name "Global\NAME" to the POSIX object name "/NAME".
// Bytes outside [A-Za-z0-9._-] (among them "/", "\", "%" and NUL) become %XX
// with upper-case hex digits, so the mapping is reversible and two different
// names never share an object. A name outside the "Global\" name space gives
// an empty text: this platform has no per-session objects.
std::string PosixObjectName(const std::string& kernelName);

// The shared-memory object name of a named mutex: "/mutex." followed by the
// escaped NAME. The prefix keeps mutexes apart from semaphores, whose POSIX
// objects live beside them as "sem.NAME".
std::string PosixMutexObjectName(const std::string& kernelName);

}  // namespace PLATFORM
