// The global operator new and delete, with a cache of small freed blocks per
// thread in front of malloc.
//
// A report reads tens of thousands of documents one by one, and each one
// comes and goes as a few hundred small blocks. The C library keeps only a
// few freed blocks of a size at hand; the rest it merges back into its heap
// whenever a larger block is asked for, which the database driver does for
// every request, and that merging walks memory all over the heap. Keeping up
// to kKeep freed blocks of each size here hands them straight back to the
// next document instead.
//
// The sanitizers bring their own operator new and delete, which check every
// use of a block; under them this file is empty.

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)

#include <malloc.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

// malloc's blocks are 16-byte chunks with 8 bytes of their own, so the room
// of a small block is 24, 40, 56, ... bytes: one size class per 16 bytes.
constexpr std::size_t kGranule = 16;
constexpr std::size_t kLargestCached = 1024;
constexpr std::size_t kClasses = kLargestCached / kGranule + 1;
constexpr unsigned kKeep = 256;

struct FreedBlock {
    FreedBlock* next;
};

// Plain data, zero before the first use, so that it needs no construction
// on a thread's first allocation. The blocks a thread leaves here when it
// ends stay allocated: at most kKeep per size, and the programs start one
// thread besides the main one.
struct Cache {
    FreedBlock* first[kClasses];
    unsigned count[kClasses];
};

thread_local Cache cache;

// The size class of the room malloc gives for a request of bytes.
std::size_t ClassOfRequest(std::size_t bytes) {
    const std::size_t room = bytes <= 24 ? 24 : ((bytes + 8 + kGranule - 1) & ~(kGranule - 1)) - 8;
    return room / kGranule;
}

void* Allocate(std::size_t bytes) {
    if (bytes <= kLargestCached - 8) {
        const std::size_t size = ClassOfRequest(bytes);
        FreedBlock* block = cache.first[size];
        if (block != nullptr) {
            cache.first[size] = block->next;
            --cache.count[size];
            return block;
        }
    }
    return std::malloc(bytes == 0 ? 1 : bytes);
}

void* AllocateOrThrow(std::size_t bytes) {
    for (;;) {
        if (void* block = Allocate(bytes)) return block;
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) throw std::bad_alloc();
        handler();
    }
}

void Release(void* block) noexcept {
    if (block == nullptr) return;
    const std::size_t room = malloc_usable_size(block);
    if (room <= kLargestCached && room % kGranule == 8) {
        const std::size_t size = room / kGranule;
        if (cache.count[size] < kKeep) {
            auto* freed = static_cast<FreedBlock*>(block);
            freed->next = cache.first[size];
            cache.first[size] = freed;
            ++cache.count[size];
            return;
        }
    }
    std::free(block);
}

}  // namespace

void* operator new(std::size_t bytes) { return AllocateOrThrow(bytes); }
void* operator new[](std::size_t bytes) { return AllocateOrThrow(bytes); }

void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return AllocateOrThrow(bytes);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return AllocateOrThrow(bytes);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }

#endif
