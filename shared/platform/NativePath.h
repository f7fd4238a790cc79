#pragma once

#include <string>

namespace PLATFORM {

// The system builds its paths the way the product's Windows installs spell
// them ("c:\vs\TRACELOGS", "\reportstrings.ini"). They are kept as texts and
// translated here, once, just before the file system sees them: every
// backslash becomes a slash and a drive prefix ("C:", any letter, any case)
// becomes the folder named by QUORIX_ROOT (default "/"). A POSIX path such
// as "/tmp/r.csv" or "r.csv" comes back unchanged.
std::string NativePath(const std::string& path);

}  // namespace PLATFORM
