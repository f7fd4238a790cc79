#include "runtime/BlockArena.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/ArenaAllocator.h"

namespace {

using CORVANE::ArenaAllocator;
using CORVANE::BlockArena;

bool Aligned(const void* block) {
    return reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t) == 0;
}

// Blocks of the sizes a report asks for, far more than one chunk holds:
// each is aligned, none overlaps another, and each keeps what was written
// into it while the others are written.
TEST(BlockArenaTest, BlocksAcrossManyChunksAreAlignedAndApart) {
    BlockArena arena;
    const std::vector<std::size_t> sizes = {1, 24, 100, 3680, 16384, 65536};
    std::vector<std::pair<unsigned char*, std::size_t>> blocks;
    for (int round = 0; round < 400; ++round) {
        for (std::size_t size : sizes) {
            auto* block = static_cast<unsigned char*>(arena.Allocate(size));
            ASSERT_TRUE(Aligned(block)) << size;
            std::memset(block, static_cast<int>(blocks.size() % 251), size);
            blocks.emplace_back(block, size);
        }
    }
    std::map<unsigned char*, std::size_t> byAddress(blocks.begin(), blocks.end());
    for (auto it = byAddress.begin(); std::next(it) != byAddress.end(); ++it)
        ASSERT_LE(it->first + it->second, std::next(it)->first);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const auto expected = static_cast<unsigned char>(i % 251);
        for (std::size_t at = 0; at < blocks[i].second; ++at)
            ASSERT_EQ(expected, blocks[i].first[at]) << "block " << i << " byte " << at;
    }
    for (const auto& block : blocks) arena.Free(block.first, block.second);
}

// A freed block serves the next block of its size, and only of its size;
// a block too large to share a chunk comes from the heap and goes back to it.
TEST(BlockArenaTest, FreedBlocksServeTheirOwnSizeAgain) {
    BlockArena arena;
    void* small = arena.Allocate(48);
    void* other = arena.Allocate(96);
    arena.Free(small, 48);
    void* larger = arena.Allocate(96);
    EXPECT_NE(small, larger);
    EXPECT_EQ(small, arena.Allocate(40)) << "40 bytes round up to the freed 48";
    arena.Free(other, 96);
    arena.Free(larger, 96);
    const std::set<void*> again = {arena.Allocate(96), arena.Allocate(96)};
    EXPECT_EQ((std::set<void*>{other, larger}), again);

    void* huge = arena.Allocate(std::size_t{1} << 20);
    ASSERT_NE(nullptr, huge);
    std::memset(huge, 1, std::size_t{1} << 20);
    arena.Free(huge, std::size_t{1} << 20);
    arena.Free(nullptr, 48);
}

// Lasting blocks, small and too large for a chunk, lie apart from each
// other and from ordinary blocks, keep their bytes while ordinary blocks
// come and go around them, and go with the arena (under AddressSanitizer a
// large one left behind is a leak).
TEST(BlockArenaTest, LastingBlocksStayWholeAmongOrdinaryOnes) {
    BlockArena arena;
    const std::vector<std::size_t> sizes = {1, 17, 300, 70000, 1 << 20};
    std::vector<std::pair<unsigned char*, std::size_t>> lasting;
    for (int round = 0; round < 50; ++round) {
        for (std::size_t size : sizes) {
            auto* block = static_cast<unsigned char*>(arena.AllocateLasting(size));
            ASSERT_TRUE(Aligned(block)) << size;
            std::memset(block, static_cast<int>(lasting.size() % 251), size);
            lasting.emplace_back(block, size);
            void* ordinary = arena.Allocate(size);
            std::memset(ordinary, 0xee, size);
            arena.Free(ordinary, size);
        }
    }
    std::map<unsigned char*, std::size_t> byAddress(lasting.begin(), lasting.end());
    for (auto it = byAddress.begin(); std::next(it) != byAddress.end(); ++it)
        ASSERT_LE(it->first + it->second, std::next(it)->first);
    for (std::size_t i = 0; i < lasting.size(); ++i) {
        const auto expected = static_cast<unsigned char>(i % 251);
        for (std::size_t at = 0; at < lasting[i].second; ++at)
            ASSERT_EQ(expected, lasting[i].first[at]) << "block " << i << " byte " << at;
    }
}

using Records = std::multimap<std::string, std::string, std::less<std::string>,
                              ArenaAllocator<std::pair<const std::string, std::string>>>;

Records Numbered(int count) {
    Records records;
    for (int i = 0; i < count; ++i)
        records.emplace(std::to_string(i % 1000), std::string(200, 'x'));
    return records;
}

// The allocator as a report's record map uses it: filled past several
// chunks, returned by value, copied, erased from, moved and assigned.
TEST(BlockArenaTest, ContainerKeepsItsRecordsThroughCopiesAndMoves) {
    Records records = Numbered(20000);
    ASSERT_EQ(20000u, records.size());
    EXPECT_EQ(20u, records.count("7"));

    const Records copy = records;
    records.erase("7");
    EXPECT_EQ(0u, records.count("7"));
    EXPECT_EQ(20u, copy.count("7"));

    Records moved = std::move(records);
    EXPECT_EQ(19980u, moved.size());
    records.emplace("after", "the move");  // NOLINT(bugprone-use-after-move): still usable
    EXPECT_EQ(1u, records.size());
    moved = Numbered(3);
    EXPECT_EQ(3u, moved.size());
    moved.emplace("again", "y");
    EXPECT_EQ(4u, moved.size());
    EXPECT_EQ(std::string(200, 'x'), copy.find("999")->second);
}

}  // namespace
