#pragma once

#include <cstddef>
#include <cstdint>

// One named trace log of identity 1000 or above. Registration reads only
// the identity and the key.
struct TraceModule {
    std::uint32_t identity;
    char key[20];         // the log name
    char secondName[20];  // may be empty
    char description[64];
    std::uint8_t firstFlag;
    std::uint8_t secondFlag;
    std::uint32_t category;  // 0 to 8
};

// Identities are unique; the last row has every bit set.
extern const TraceModule TraceModuleTable[];
extern const std::size_t kTraceModuleTableSize;
