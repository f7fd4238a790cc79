#include "platform/NativePath.h"

#include <cctype>
#include <cstdlib>

namespace PLATFORM {

namespace {

bool HasDrivePrefix(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           std::isalpha(static_cast<unsigned char>(path[0])) != 0;
}

std::string RootFolder() {
    const char* root = std::getenv("QUORIX_ROOT");
    std::string folder = (root && *root) ? root : "/";
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

}  // namespace

std::string NativePath(const std::string& path) {
    std::string rest = HasDrivePrefix(path) ? path.substr(2) : path;
    for (char& c : rest) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (!HasDrivePrefix(path)) {
        return rest;
    }
    const std::string root = RootFolder();
    if (rest.empty()) {
        return root;
    }
    if (rest.front() != '/') {
        rest.insert(rest.begin(), '/');
    }
    return root == "/" ? rest : root + rest;
}

}  // namespace PLATFORM
