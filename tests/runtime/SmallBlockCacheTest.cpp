#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kCached = false;  // the sanitizers bring their own operator new
#else
constexpr bool kCached = true;
#endif

unsigned char Pattern(std::size_t size, std::size_t at) {
    return static_cast<unsigned char>(size * 31 + at);
}

TEST(SmallBlockCacheTest, BlocksOfEverySizeAreAlignedApartAndKeepTheirBytes) {
    std::vector<std::pair<unsigned char*, std::size_t>> blocks;
    // Twice round, so that the second takes the blocks the first gave back.
    for (int round = 0; round < 2; ++round) {
        for (std::size_t size = 0; size <= 2100; size += size < 64 ? 1 : 7) {
            auto* block = static_cast<unsigned char*>(::operator new(size));
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u)
                << size;
            for (std::size_t i = 0; i < size; ++i) block[i] = Pattern(size, i);
            blocks.emplace_back(block, size);
        }
        std::set<unsigned char*> distinct;
        for (const auto& [block, size] : blocks) {
            EXPECT_TRUE(distinct.insert(block).second) << "block of " << size << " given twice";
            for (std::size_t i = 0; i < size; ++i) {
                ASSERT_EQ(block[i], Pattern(size, i)) << size << " at " << i;
            }
        }
        for (const auto& [block, size] : blocks) ::operator delete(block);
        blocks.clear();
    }
}

TEST(SmallBlockCacheTest, AFreedSmallBlockServesTheNextRequestOfItsSize) {
    if (!kCached) GTEST_SKIP() << "no cache under the sanitizers";
    for (const std::size_t size : {1u, 24u, 25u, 100u, 1000u}) {
        void* first = ::operator new(size);
        ::operator delete(first);
        void* second = ::operator new(size);
        EXPECT_EQ(second, first) << size;
        ::operator delete(second);
    }
}

TEST(SmallBlockCacheTest, BlocksFreedOnAnotherThreadAreSound) {
    constexpr int kBlocks = 5000;
    std::vector<char*> made(kBlocks);
    for (int i = 0; i < kBlocks; ++i) {
        made[i] = new char[static_cast<std::size_t>(i % 300 + 1)];
        std::memset(made[i], 'a' + i % 26, static_cast<std::size_t>(i % 300 + 1));
    }
    // The other thread frees them into its own cache and allocates from it;
    // this one goes on with its own.
    std::thread other([&made] {
        for (char* block : made) delete[] block;
        std::vector<std::vector<char>> texts;
        for (int i = 0; i < kBlocks; ++i)
            texts.emplace_back(static_cast<std::size_t>(i % 300 + 1), 'z');
        for (const auto& text : texts) ASSERT_EQ(text.back(), 'z');
    });
    std::vector<std::vector<char>> texts;
    for (int i = 0; i < kBlocks; ++i)
        texts.emplace_back(static_cast<std::size_t>(i % 300 + 1), 'y');
    other.join();
    for (const auto& text : texts) ASSERT_EQ(text.back(), 'y');
}

TEST(SmallBlockCacheTest, ARequestThatCannotBeMetThrowsOrGivesNull) {
    // The sanitizers end the run on such a request instead.
    if (!kCached) GTEST_SKIP() << "the sanitizers' operator new is in use";
    // Asked through a volatile size, so that the compiler cannot see the
    // request and drop it.
    volatile std::size_t huge = std::numeric_limits<std::size_t>::max() / 2;
    EXPECT_THROW(::operator delete(::operator new(huge)), std::bad_alloc);
    EXPECT_EQ(::operator new(huge, std::nothrow), nullptr);
    EXPECT_EQ(::operator new[](huge, std::nothrow), nullptr);
}

}  // namespace
