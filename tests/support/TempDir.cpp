#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "support/FolderFiles.h"

namespace fs = std::filesystem;

namespace TESTSUPPORT {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/qxtest-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        throw std::runtime_error("cannot create a temporary folder from " + pattern);
    }
    path_ = buffer.data();
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const { return path_ + "/" + name; }

std::string TempDir::Write(const std::string& name, const std::string& text) const {
    const std::string full = File(name);
    const fs::path parent = fs::path(full).parent_path();
    fs::create_directories(parent);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + full);
    }
    return full;
}

std::string TempDir::Read(const std::string& name) const { return FileText(File(name)); }

std::string TempDir::MakeDir(const std::string& name) const {
    const std::string full = File(name);
    fs::create_directories(full);
    return full;
}

}  // namespace TESTSUPPORT
