#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace CORVANE {

// Memory for many blocks that live about as long as each other, as the
// records a report holds: blocks are cut from a few large chunks that the
// kernel is asked to back with large pages, so that tens of thousands of
// records cost tens of page faults instead of tens of thousands. A freed
// block is kept for the next block of its size; the chunks go back to the
// system with the arena. Blocks too large to share a chunk come from the
// ordinary heap. Not for use by several threads at once.
class BlockArena {
public:
    BlockArena();
    ~BlockArena();
    BlockArena(const BlockArena&) = delete;
    BlockArena& operator=(const BlockArena&) = delete;

    // bytes of memory aligned for any type; std::bad_alloc when none is left.
    void* Allocate(std::size_t bytes);
    // Takes back a block that Allocate(bytes) returned; never throws.
    void Free(void* block, std::size_t bytes) noexcept;
    // A block that is given back only with the arena, as a report's lines
    // are: cut from the chunks like the others, without a freed list for its
    // size; one too large for a chunk is the heap's until the arena goes.
    void* AllocateLasting(std::size_t bytes);

private:
    struct Chunk {
        void* memory;
        std::size_t size;
    };

    // Block size to the first freed block of that size; each freed block
    // holds the next one's address.
    using FreedLists = std::vector<std::pair<std::size_t, void*>>;

    void AddChunk(std::size_t atLeast);
    // The list of blocks of size, or the end of freed_ when there is none.
    FreedLists::iterator FreedOf(std::size_t size);

    // The unused part of the newest chunk as a block of size, adding a
    // chunk first when it is too small.
    void* Cut(std::size_t size);

    std::vector<Chunk> chunks_;
    std::vector<void*> lastingLarge_;  // AllocateLasting's blocks from the heap
    char* next_;                       // the unused part of the newest chunk
    char* end_;
    FreedLists freed_;
};

}  // namespace CORVANE
