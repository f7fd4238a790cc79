#ifndef PLATFORM_FILEREPLACEMENT_H
#define PLATFORM_FILEREPLACEMENT_H

#include <string>

#include <sys/stat.h>

namespace PLATFORM {

// Helpers for replacing a file whole: the new contents go to a file of their
// own beside it, which is renamed over the old one once complete, so that a
// reader (or a failed run) never leaves half a file at the name.

// The file a native path ends at: the path itself, or, while it names a
// symbolic link, the link's target (a relative target taken from the link's
// folder). The target need not exist. False, with errno set, for a chain of
// more than 40 links (ELOOP) or a link that cannot be read.
bool FinalLinkTarget(const std::string& nativePath, std::string& target);

// Creates a new, empty file (mode 0600) beside nativeTarget, in the same
// folder, named after it with an exclusive suffix: "<target>.XXXXXX".
// Returns its descriptor and name, or -1 with errno set.
int CreateFileBeside(const std::string& nativeTarget, std::string& besidePath);

// The permission bits a replacement gets: those of the file it replaces
// (existing), or for a new file 0666 less the process's umask.
mode_t ReplacementMode(const struct stat* existing);

}  // namespace PLATFORM

#endif
