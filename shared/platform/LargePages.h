#pragma once

#include <cstddef>

namespace PLATFORM {

// Zero-filled private read-write memory of bytes (a multiple of the small
// page size), aligned to a large page (2 MiB, which the kernel maps with one
// page fault instead of one per small page) when it is at least that large,
// and which the kernel is asked to back with large pages. That is a hint: where
// the system has none to give, it is ordinary memory. nullptr when no memory
// can be mapped.
void* MapLargePages(std::size_t bytes);

// Gives back memory that MapLargePages(bytes) returned.
void UnmapLargePages(void* memory, std::size_t bytes);

}  // namespace PLATFORM
