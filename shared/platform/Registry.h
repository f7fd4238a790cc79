#pragma once

#include <cstdint>
#include <string>

namespace PLATFORM {

// The registry of HKEY_LOCAL_MACHINE as the 32-bit programs see it, read
// from a registry export whose path is QUORIX_REGISTRY (default
// /etc/quorix/registry.reg). Every open reads the file again, so a key
// handle sees the values as they were when it was opened. Keys made with
// RegCreateKeyExA live in this process only; the file is never written.
// The functions return Win32 error codes (platform/Win32Error.h).

struct RegistryKey;
using HKEY = RegistryKey*;
using REGSAM = std::uint32_t;

extern RegistryKey* const HKEY_LOCAL_MACHINE;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_MULTI_SZ = 7;

constexpr std::uint32_t REG_OPTION_NON_VOLATILE = 0;
constexpr std::uint32_t REG_CREATED_NEW_KEY = 1;
constexpr std::uint32_t REG_OPENED_EXISTING_KEY = 2;

// The registry file's path: QUORIX_REGISTRY, or /etc/quorix/registry.reg.
std::string RegistryFilePath();

// Opens key\subKey (a null or empty subKey opens key again). Access rights
// and the registry view are accepted and not checked.
std::int32_t RegOpenKeyExA(HKEY key, const char* subKey, std::uint32_t options, REGSAM desired,
                           HKEY* result);

// Opens key\subKey, making it first when it does not exist. disposition,
// when given, tells which of the two happened.
std::int32_t RegCreateKeyExA(HKEY key, const char* subKey, std::uint32_t reserved,
                             const char* keyClass, std::uint32_t options, REGSAM desired,
                             const void* securityAttributes, HKEY* result,
                             std::uint32_t* disposition);

// The value valueName (null or empty: the key's default value). With data
// null, dataSize receives the size the data needs; with a buffer smaller
// than that, ERROR_MORE_DATA and the needed size, the buffer untouched.
// Text comes with its terminating NUL counted in the size.
std::int32_t RegQueryValueExA(HKEY key, const char* valueName, std::uint32_t* reserved,
                              std::uint32_t* type, unsigned char* data, std::uint32_t* dataSize);

// Closes a handle from RegOpenKeyExA or RegCreateKeyExA; closing a root key
// does nothing.
std::int32_t RegCloseKey(HKEY key);

}  // namespace PLATFORM
