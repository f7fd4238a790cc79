#pragma once

#include <string>

namespace TESTSUPPORT {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it when
// the object goes out of scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's absolute path, without a trailing slash.
    const std::string& Path() const { return path_; }

    // Path() + "/" + name.
    std::string File(const std::string& name) const;

    // Writes text (bytes, NULs allowed) to name, a path relative to the
    // folder; missing parent folders are created. Returns the full path.
    std::string Write(const std::string& name, const std::string& text) const;

    // Reads a file back; an empty string when it cannot be read.
    std::string Read(const std::string& name) const;

    // Creates a sub-folder (and its parents) and returns its full path.
    std::string MakeDir(const std::string& name) const;

private:
    std::string path_;
};

}  // namespace TESTSUPPORT
