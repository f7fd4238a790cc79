#pragma once

#include <string>

namespace PLATFORM {

// Copies the file at `from` to `to` (both translated by NativePath) as the
// Windows file copy does: the copy gets the source's permission bits and its
// last-write time (where the target is this user's own), an existing target
// is replaced unless failIfExists, and a copy that fails part-way leaves no
// partial target behind. Copying a file onto itself fails and leaves it
// alone. False when the copy was not made.
bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);

}  // namespace PLATFORM
