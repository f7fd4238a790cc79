#pragma once

#include <string>

namespace PLATFORM {

// Whether a file name matches a pattern of the Windows find functions,
// letters compared without regard to ASCII case:
// - "*" matches any run of characters; directly before a "." it stops at the
//   name's last dot at the latest ("*.ltt" needs the last extension to be
//   ".ltt", "*." matches only names without a dot);
// - "?" matches one character other than "."; at a "." of the name or at its
//   end it matches nothing ("a?.txt" matches "a.txt");
// - a "." followed by "*" or "?", or ending the pattern, also matches the end
//   of a name that has no further dot ("*.*" matches every name);
// - any other character matches itself.
bool MatchesFindPattern(const std::string& pattern, const std::string& name);

}  // namespace PLATFORM
