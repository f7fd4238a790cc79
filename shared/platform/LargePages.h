#pragma once

#include <memory_resource>

namespace PLATFORM {

// Memory straight from the kernel, which is asked to back it with large
// pages (2 MiB, mapped with one page fault instead of one per small page):
// each block is a mapping of its own, aligned to a large page when it is at
// least that large. That is a hint: where the system has none to give, it is
// ordinary memory. Meant as the upstream of a
// std::pmr::monotonic_buffer_resource that cuts many blocks from few large
// ones. Throws std::bad_alloc when no memory can be mapped.
std::pmr::memory_resource* LargePages();

}  // namespace PLATFORM
