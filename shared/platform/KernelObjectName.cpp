#include "platform/KernelObjectName.h"

namespace PLATFORM {

const char* const kGlobalNamePrefix = "Global\\";

namespace {

bool IsPortableNameByte(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

std::string EscapeName(const std::string& name) {
    static const char hex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(name.size());
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsPortableNameByte(c)) {
            escaped += ch;
        } else {
            escaped += '%';
            escaped += hex[c >> 4];
            escaped += hex[c & 0x0F];
        }
    }
    return escaped;
}

}  // namespace

std::string PosixObjectName(const std::string& kernelName) {
    const std::string prefix = kGlobalNamePrefix;
    if (kernelName.size() <= prefix.size() || kernelName.compare(0, prefix.size(), prefix) != 0) {
        return {};
    }
    return "/" + EscapeName(kernelName.substr(prefix.size()));
}

std::string PosixMutexObjectName(const std::string& kernelName) {
    const std::string name = PosixObjectName(kernelName);
    if (name.empty()) {
        return {};
    }
    return "/mutex." + name.substr(1);
}

}  // namespace PLATFORM
