#pragma once

#include <cstddef>
#include <string>

namespace PLATFORM {

// Settings files are small; anything bigger than this is not one of them
// and is treated as unreadable rather than pulled into memory.
constexpr std::size_t kMaxSettingsFileBytes = 64u * 1024u * 1024u;

// Reads a whole regular file (a native path) into bytes. False, with bytes
// empty, when it is missing, not a regular file, unreadable or larger than
// maxBytes.
bool ReadFileContents(const std::string& nativePath, std::string& bytes,
                      std::size_t maxBytes = kMaxSettingsFileBytes);

// Replaces the file's contents by bytes as WritableFile::OpenReplacement
// does, so a reader never sees half a file. Anything but a regular file at
// the path is left alone. False when nothing could be written.
bool ReplaceFileContents(const std::string& nativePath, const std::string& bytes);

}  // namespace PLATFORM
