#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>

#include "runtime/BlockArena.h"

namespace CORVANE {

// A standard allocator over a BlockArena, for a container that holds a
// report's records. A default-built allocator makes an arena of its own;
// copies and rebound copies share it, and it lives as long as the last of
// them. Containers that move take their arena with them; a moved allocator
// is copied, so that the container moved from can still allocate.
template <typename T>
class ArenaAllocator {
public:
    using value_type = T;
    using propagate_on_container_move_assignment = std::true_type;
    using propagate_on_container_swap = std::true_type;

    ArenaAllocator() : arena_(std::make_shared<BlockArena>()) {}
    ArenaAllocator(const ArenaAllocator& other) = default;
    ArenaAllocator& operator=(const ArenaAllocator& other) = default;
    template <typename U>
    ArenaAllocator(const ArenaAllocator<U>& other) : arena_(other.arena_) {}

    T* allocate(std::size_t count) { return static_cast<T*>(arena_->Allocate(count * sizeof(T))); }
    void deallocate(T* block, std::size_t count) { arena_->Free(block, count * sizeof(T)); }

    template <typename U>
    bool operator==(const ArenaAllocator<U>& other) const {
        return arena_ == other.arena_;
    }
    template <typename U>
    bool operator!=(const ArenaAllocator<U>& other) const {
        return arena_ != other.arena_;
    }

private:
    template <typename U>
    friend class ArenaAllocator;

    std::shared_ptr<BlockArena> arena_;
};

}  // namespace CORVANE
