#include "support/FolderFiles.h"

#include <cstdio>
#include <dirent.h>

namespace TESTSUPPORT {

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        closedir(dir);
    }
    return names;
}

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
