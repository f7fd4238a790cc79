#pragma once

#include <string>
#include <vector>

namespace TESTSUPPORT {

// The names in a folder ("." and ".." left out), sorted; none when it
// cannot be read.
std::vector<std::string> FilesIn(const std::string& folder);

// The same for its regular files only (links followed), leaving out its
// sub-folders.
std::vector<std::string> RegularFilesIn(const std::string& folder);

// A file's bytes; empty when it cannot be read.
std::string FileText(const std::string& path);

}  // namespace TESTSUPPORT
