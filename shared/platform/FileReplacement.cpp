#include "platform/FileReplacement.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <vector>

namespace PLATFORM {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

// Read without changing it: umask(2) can only set it, which would race with
// any other thread creating a file.
mode_t ProcessUmask() {
    std::FILE* status = std::fopen("/proc/self/status", "re");
    if (status != nullptr) {
        char line[256];
        while (std::fgets(line, sizeof line, status) != nullptr) {
            if (std::strncmp(line, "Umask:", 6) == 0) {
                std::fclose(status);
                return static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8)) & 0777;
            }
        }
        std::fclose(status);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

}  // namespace

bool FinalLinkTarget(const std::string& nativePath, std::string& target) {
    std::string path = nativePath;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = path;
            return true;
        }
        if (hop == kMaxLinks) {
            break;
        }
        std::vector<char> text(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 2);
        const ssize_t size = ::readlink(path.c_str(), text.data(), text.size());
        if (size < 0) {
            return false;
        }
        if (static_cast<std::size_t>(size) >= text.size()) {
            errno = ENAMETOOLONG;  // the link grew while being read
            return false;
        }
        std::string next(text.data(), static_cast<std::size_t>(size));
        if (next.empty() || next.front() != '/') {
            const std::size_t slash = path.rfind('/');
            next = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + next;
        }
        path = next;
    }
    errno = ELOOP;
    return false;
}

int CreateFileBeside(const std::string& nativeTarget, std::string& besidePath) {
    std::string pattern = nativeTarget + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd >= 0) {
        besidePath = name.data();
    }
    return fd;
}

mode_t ReplacementMode(const struct stat* existing) {
    if (existing != nullptr) {
        return existing->st_mode & 07777;
    }
    return 0666 & ~ProcessUmask();
}

}  // namespace PLATFORM
