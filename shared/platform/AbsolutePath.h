#pragma once

#include <string>

namespace PLATFORM {

// A native path as another process, started in another folder, must be
// told it: made absolute against the current folder, with "." components
// and repeated slashes left out. ".." stays: a symbolic link may stand
// before it. Empty when the path is empty or the current folder cannot be
// had (it was removed, say).
std::string AbsolutePath(const std::string& nativePath);

}  // namespace PLATFORM
