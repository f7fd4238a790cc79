#include "platform/LargePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace PLATFORM {

namespace {

// x86-64's transparent huge page; the kernel reports no other size for
// anonymous memory there.
constexpr std::size_t kLargePageSize = std::size_t{2} << 20;

}  // namespace

void* MapLargePages(std::size_t bytes) {
    // A large page can only back an aligned range: map one page more than
    // asked and give back what lies outside the aligned part.
    const std::size_t slack = bytes >= kLargePageSize ? kLargePageSize : 0;
    void* mapped =
        mmap(nullptr, bytes + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    auto* start = static_cast<char*>(mapped);
    if (slack != 0) {
        const auto address = reinterpret_cast<std::uintptr_t>(start);
        const std::size_t head = (kLargePageSize - address % kLargePageSize) % kLargePageSize;
        if (head != 0) munmap(start, head);
        if (slack - head != 0) munmap(start + head + bytes, slack - head);
        start += head;
    }
    // Refused where the kernel has no transparent huge pages: the memory
    // stays as it is.
    madvise(start, bytes, MADV_HUGEPAGE);
    return start;
}

void UnmapLargePages(void* memory, std::size_t bytes) {
    if (memory != nullptr) munmap(memory, bytes);
}

}  // namespace PLATFORM
