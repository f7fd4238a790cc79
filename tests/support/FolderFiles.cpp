#include "support/FolderFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace TESTSUPPORT {

namespace {

std::vector<std::string> NamesIn(const std::string& folder, bool regularOnly) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        if (!regularOnly || entry.is_regular_file(ignored)) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::vector<std::string> FilesIn(const std::string& folder) { return NamesIn(folder, false); }

std::vector<std::string> RegularFilesIn(const std::string& folder) { return NamesIn(folder, true); }

std::string FileText(const std::string& path) {
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            text.append(buffer, n);
        }
        std::fclose(file);
    }
    return text;
}

}  // namespace TESTSUPPORT
