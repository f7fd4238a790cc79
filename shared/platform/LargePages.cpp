#include "platform/LargePages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <new>

namespace PLATFORM {

namespace {

// x86-64's transparent huge page; the kernel reports no other size for
// anonymous memory there.
constexpr std::size_t kLargePageSize = std::size_t{2} << 20;

std::size_t PageRounded(std::size_t bytes) {
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

class LargePageResource : public std::pmr::memory_resource {
    void* do_allocate(std::size_t bytes, std::size_t alignment) override {
        bytes = PageRounded(bytes);
        // A large page can only back an aligned range: map one page more
        // than asked and give back what lies outside the aligned part.
        const std::size_t slack = bytes >= kLargePageSize ? kLargePageSize : 0;
        void* mapped = mmap(nullptr, bytes + slack, PROT_READ | PROT_WRITE,
                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) throw std::bad_alloc();
        auto* start = static_cast<char*>(mapped);
        if (slack != 0) {
            const auto address = reinterpret_cast<std::uintptr_t>(start);
            const std::size_t head = (kLargePageSize - address % kLargePageSize) % kLargePageSize;
            if (head != 0) munmap(start, head);
            if (slack - head != 0) munmap(start + head + bytes, slack - head);
            start += head;
        }
        if (reinterpret_cast<std::uintptr_t>(start) % alignment != 0) {
            munmap(start, bytes);
            throw std::bad_alloc();
        }
        // Refused where the kernel has no transparent huge pages: the memory
        // stays as it is.
        madvise(start, bytes, MADV_HUGEPAGE);
        return start;
    }

    void do_deallocate(void* block, std::size_t bytes, std::size_t /*alignment*/) override {
        munmap(block, PageRounded(bytes));
    }

    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }
};

}  // namespace

std::pmr::memory_resource* LargePages() {
    static LargePageResource resource;
    return &resource;
}

}  // namespace PLATFORM
