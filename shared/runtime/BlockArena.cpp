#include "runtime/BlockArena.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/LargePages.h"

// Under AddressSanitizer the parts of a chunk that hold no live block are
// poisoned, so that a use after free or beyond a block is caught as it is on
// the heap; elsewhere the two macros are nothing.
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define QX_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define QX_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define QX_POISON(address, size) ((void)(address), (void)(size))
#define QX_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace CORVANE {

namespace {

constexpr std::size_t kAlignment = alignof(std::max_align_t);
// Chunks grow from a size that a small report does not notice to one that
// keeps the count of chunks low for the largest.
constexpr std::size_t kFirstChunk = std::size_t{256} << 10;
constexpr std::size_t kLargestChunk = std::size_t{32} << 20;
// Larger blocks are rare and would leave much of a chunk unused.
constexpr std::size_t kLargestBlock = kFirstChunk / 4;

std::size_t Rounded(std::size_t bytes) {
    return (std::max<std::size_t>(bytes, 1) + kAlignment - 1) / kAlignment * kAlignment;
}

}  // namespace

BlockArena::BlockArena() : next_(nullptr), end_(nullptr) {}

BlockArena::~BlockArena() {
    for (void* block : lastingLarge_) ::operator delete(block);
    for (const Chunk& chunk : chunks_) {
        QX_UNPOISON(chunk.memory, chunk.size);
        PLATFORM::UnmapLargePages(chunk.memory, chunk.size);
    }
}

void* BlockArena::Allocate(std::size_t bytes) {
    const std::size_t size = Rounded(bytes);
    if (size > kLargestBlock) return ::operator new(size);
    // The list of a size is made with its first block, so that Free, which
    // may not throw, always finds it.
    auto list = FreedOf(size);
    if (list == freed_.end()) {
        list = freed_.insert(freed_.end(), {size, nullptr});
    } else if (list->second != nullptr) {
        void* block = list->second;
        QX_UNPOISON(block, size);
        std::memcpy(&list->second, block, sizeof(void*));
        return block;
    }
    return Cut(size);
}

void* BlockArena::AllocateLasting(std::size_t bytes) {
    const std::size_t size = Rounded(bytes);
    if (size <= kLargestBlock) return Cut(size);
    // Its place in the list comes first, so that no block is left unlisted;
    // a place left empty by a failed allocation deletes nothing.
    lastingLarge_.push_back(nullptr);
    lastingLarge_.back() = ::operator new(size);
    return lastingLarge_.back();
}

void* BlockArena::Cut(std::size_t size) {
    if (static_cast<std::size_t>(end_ - next_) < size) AddChunk(size);
    void* block = next_;
    next_ += size;
    QX_UNPOISON(block, size);
    return block;
}

void BlockArena::Free(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) return;
    const std::size_t size = Rounded(bytes);
    if (size > kLargestBlock) {
        ::operator delete(block);
        return;
    }
    const auto list = FreedOf(size);
    std::memcpy(block, &list->second, sizeof(void*));
    list->second = block;
    QX_POISON(block, size);
}

BlockArena::FreedLists::iterator BlockArena::FreedOf(std::size_t size) {
    return std::find_if(freed_.begin(), freed_.end(),
                        [size](const auto& entry) { return entry.first == size; });
}

void BlockArena::AddChunk(std::size_t atLeast) {
    const std::size_t size = std::max(
        atLeast, chunks_.empty() ? kFirstChunk : std::min(chunks_.back().size * 2, kLargestChunk));
    // The rest of the newest chunk is left unused: it is smaller than the
    // block asked for, and blocks of one size are asked for together.
    chunks_.reserve(chunks_.size() + 1);
    void* memory = PLATFORM::MapLargePages(size);
    if (memory == nullptr) throw std::bad_alloc();
    chunks_.push_back({memory, size});
    QX_POISON(memory, size);
    next_ = static_cast<char*>(memory);
    end_ = next_ + size;
}

}  // namespace CORVANE
