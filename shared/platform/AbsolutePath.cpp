#include "platform/AbsolutePath.h"

#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace PLATFORM {

namespace {

std::string CurrentFolder() {
    std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    // Linux puts "(unreachable)" before a folder outside the process's root.
    if (!folder || folder.get()[0] != '/') {
        return std::string();
    }
    return folder.get();
}

}  // namespace

std::string AbsolutePath(const std::string& nativePath) {
    if (nativePath.empty()) {
        return std::string();
    }
    std::string full = nativePath;
    if (full.front() != '/') {
        const std::string folder = CurrentFolder();
        if (folder.empty()) {
            return std::string();
        }
        full = folder + "/" + full;
    }
    std::string result;
    std::size_t at = 0;
    while (at < full.size()) {
        std::size_t end = full.find('/', at);
        if (end == std::string::npos) {
            end = full.size();
        }
        const std::string part = full.substr(at, end - at);
        if (!part.empty() && part != ".") {
            result += "/" + part;
        }
        at = end + 1;
    }
    if (result.empty()) {
        return "/";
    }
    // A trailing slash says "a folder"; keep it.
    if (full.back() == '/') {
        result += '/';
    }
    return result;
}

}  // namespace PLATFORM
