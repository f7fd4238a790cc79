#include "platform/Registry.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/RegistryFile.h"
#include "platform/Win32Error.h"

namespace PLATFORM {

struct RegistryKey {
    std::string path;  // canonical full path
    RegistryFile::Values values;
};

namespace {

const char kLocalMachineName[] = "HKEY_LOCAL_MACHINE";

// Only its address is used: it names the root, whose values are never read.
RegistryKey localMachineTag;

// Reached from any thread, also while statics are being destroyed, so it
// is made once and never destroyed.
struct RegistryState {
    std::mutex mutex;
    std::set<RegistryKey*> openKeys;
    std::set<std::string> createdKeys;  // canonical paths, parents included
};

RegistryState& State() {
    static RegistryState* state = new RegistryState();
    return *state;
}

// The canonical path of key\subKey, or false for a handle that is not open.
bool ResolvePath(HKEY key, const char* subKey, std::string& path) {
    std::string base;
    if (key == HKEY_LOCAL_MACHINE) {
        base = kLocalMachineName;
    } else if (key != nullptr && State().openKeys.count(key) != 0) {
        base = key->path;
    } else {
        return false;
    }
    path = RegistryFile::CanonicalPath(base + "\\" + (subKey ? subKey : ""));
    return true;
}

// Hands out a new handle on path when the key exists in the file or was
// made by this process. The state lock is held.
std::int32_t OpenExisting(const std::string& path, HKEY* result) {
    RegistryState& state = State();
    const RegistryFile file = RegistryFile::Load(RegistryFilePath());
    const RegistryFile::Values* values = file.FindKey(path);
    const bool isRoot = path == kLocalMachineName;
    if (values == nullptr && !isRoot && state.createdKeys.count(path) == 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    RegistryKey* key = new RegistryKey{path, values ? *values : RegistryFile::Values()};
    state.openKeys.insert(key);
    *result = key;
    return ERROR_SUCCESS;
}

}  // namespace

RegistryKey* const HKEY_LOCAL_MACHINE = &localMachineTag;

std::string RegistryFilePath() {
    const char* path = std::getenv("QUORIX_REGISTRY");
    return (path && *path) ? path : "/etc/quorix/registry.reg";
}

std::int32_t RegOpenKeyExA(HKEY key, const char* subKey, std::uint32_t /*options*/,
                           REGSAM /*desired*/, HKEY* result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    std::lock_guard<std::mutex> lock(State().mutex);
    std::string path;
    if (!ResolvePath(key, subKey, path)) {
        return ERROR_INVALID_HANDLE;
    }
    return OpenExisting(path, result);
}

std::int32_t RegCreateKeyExA(HKEY key, const char* subKey, std::uint32_t /*reserved*/,
                             const char* /*keyClass*/, std::uint32_t /*options*/,
                             REGSAM /*desired*/, const void* /*securityAttributes*/, HKEY* result,
                             std::uint32_t* disposition) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    std::lock_guard<std::mutex> lock(State().mutex);
    std::string path;
    if (!ResolvePath(key, subKey, path)) {
        return ERROR_INVALID_HANDLE;
    }
    std::int32_t error = OpenExisting(path, result);
    if (error == ERROR_FILE_NOT_FOUND) {
        for (std::size_t pos = 0; (pos = path.find('\\', pos)) != std::string::npos; ++pos) {
            State().createdKeys.insert(path.substr(0, pos));
        }
        State().createdKeys.insert(path);
        error = OpenExisting(path, result);
        if (error == ERROR_SUCCESS && disposition != nullptr) {
            *disposition = REG_CREATED_NEW_KEY;
        }
    } else if (error == ERROR_SUCCESS && disposition != nullptr) {
        *disposition = REG_OPENED_EXISTING_KEY;
    }
    return error;
}

std::int32_t RegQueryValueExA(HKEY key, const char* valueName, std::uint32_t* reserved,
                              std::uint32_t* type, unsigned char* data, std::uint32_t* dataSize) {
    if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::lock_guard<std::mutex> lock(State().mutex);
    if (key == HKEY_LOCAL_MACHINE) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (key == nullptr || State().openKeys.count(key) == 0) {
        return ERROR_INVALID_HANDLE;
    }
    const auto it = key->values.find(RegistryFile::ValueKey(valueName ? valueName : ""));
    if (it == key->values.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const RegistryFile::Value& value = it->second;
    const auto size = static_cast<std::uint32_t>(value.data.size());
    if (type != nullptr) {
        *type = value.type;
    }
    std::int32_t error = ERROR_SUCCESS;
    if (data != nullptr) {
        if (*dataSize < size) {
            error = ERROR_MORE_DATA;
        } else if (size > 0) {
            std::memcpy(data, value.data.data(), size);
        }
    }
    if (dataSize != nullptr) {
        *dataSize = size;
    }
    return error;
}

std::int32_t RegCloseKey(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) {
        return ERROR_SUCCESS;
    }
    std::lock_guard<std::mutex> lock(State().mutex);
    if (key == nullptr || State().openKeys.erase(key) == 0) {
        return ERROR_INVALID_HANDLE;
    }
    delete key;
    return ERROR_SUCCESS;
}

}  // namespace PLATFORM
