#pragma once

#include <cstdint>
#include <cstring>

namespace DBACCESS {

// The wire protocol's 32-bit integers: little-endian, whatever the machine.

inline std::int32_t ReadInt32(const void* at) {
    const auto* bytes = static_cast<const unsigned char*>(at);
    const std::uint32_t value =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    std::int32_t result;
    std::memcpy(&result, &value, sizeof(result));
    return result;
}

inline void WriteInt32(void* at, std::int32_t value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    auto* bytes = static_cast<unsigned char*>(at);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>((bits >> (8 * i)) & 0xFF);
}

}  // namespace DBACCESS
