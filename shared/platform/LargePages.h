#pragma once

#include <cstddef>

namespace PLATFORM {

// The size, and alignment, of a large page: the unit in which the kernel
// can map memory with one page fault instead of one per small page.
std::size_t LargePageSize();

// Zero-filled private read-write memory of bytes (a multiple of the small
// page size), aligned to LargePageSize() when it is at least that large,
// which the kernel is asked to back with large pages. That is a hint: where
// the system has none to give, it is ordinary memory. nullptr when no memory
// can be mapped.
void* MapLargePages(std::size_t bytes);

// Gives back memory that MapLargePages(bytes) returned.
void UnmapLargePages(void* memory, std::size_t bytes);

}  // namespace PLATFORM
