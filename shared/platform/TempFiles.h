#pragma once

#include <cstddef>
#include <string>

namespace PLATFORM {

// Longest path, terminator included, that the temp functions hand out.
constexpr std::size_t kMaxTempPath = 260;

// The temp folder, $TMPDIR when set and non-empty, else /tmp, always ending
// in "/". False when the folder name does not fit kMaxTempPath.
bool GetTempFolder(std::string& folder);

// Creates a new, empty file (mode 0600) with a unique name in `folder`
// (which ends in "/") that begins with `prefix` and ends in ".tmp"; `path`
// gets its full name, and it is listed as a file of the run (RunFiles.h).
// False when no file could be created or the name would not fit
// kMaxTempPath.
bool CreateUniqueTempFile(const std::string& folder, const std::string& prefix, std::string& path);

}  // namespace PLATFORM
