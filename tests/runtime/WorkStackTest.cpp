#include "runtime/WorkStack.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;

// Records what the hooks saw.
class RecordingStack : public QXUTIL::WorkStack<int> {
public:
    RecordingStack() : WorkStack<int>(200) {}
    void OnAdd(const int& item) override { added.push_back(item); }
    void OnRemove(const int& item) override { removed.push_back(item); }
    std::vector<int> added;
    std::vector<int> removed;
};

// Pops with a 0 ms wait until the default (-1) comes back.
std::vector<int> Drain(QXUTIL::WorkStack<int>& stack) {
    std::vector<int> items;
    for (int item = stack.Pop(0, -1); item != -1; item = stack.Pop(0, -1)) {
        items.push_back(item);
    }
    return items;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> items;
    for (int i = first; i <= last; ++i) {
        items.push_back(i);
    }
    return items;
}

TEST(WorkStackTest, PushesPastTheBoundDropTheOldestItems) {
    const struct {
        int pushes;
        int firstKept;
    } cases[] = {{200, 1}, {201, 2}, {250, 51}};
    for (const auto& c : cases) {
        RecordingStack stack;
        for (int i = 1; i <= c.pushes; ++i) {
            stack.PushBack(i);
        }
        EXPECT_EQ(stack.removed, Range(1, c.firstKept - 1)) << c.pushes << " pushes";
        EXPECT_EQ(stack.added.size(), static_cast<std::size_t>(c.pushes));
        stack.removed.clear();
        EXPECT_EQ(Drain(stack), Range(c.firstKept, c.pushes)) << c.pushes << " pushes";
        EXPECT_EQ(stack.removed, Range(c.firstKept, c.pushes)) << "each pop goes through OnRemove";
    }
}

TEST(WorkStackTest, PushFrontOnAFullQueueReplacesTheFrontItem) {
    RecordingStack stack;
    for (int i = 1; i <= 200; ++i) {
        stack.PushBack(i);
    }
    stack.PushFront(1000);
    EXPECT_EQ(stack.removed, std::vector<int>{1});
    std::vector<int> expected{1000};
    const auto rest = Range(2, 200);
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(Drain(stack), expected);
}

TEST(WorkStackTest, PushFrontOnAQueueWithRoomGoesFirst) {
    RecordingStack stack;
    stack.PushBack(1);
    stack.PushFront(2);
    EXPECT_TRUE(stack.removed.empty());
    EXPECT_EQ(Drain(stack), (std::vector<int>{2, 1}));
}

TEST(WorkStackTest, PopOnAnEmptyQueueReturnsTheDefaultAfterItsWait) {
    QXUTIL::WorkStack<std::string> stack(200);
    const auto start = Clock::now();
    EXPECT_EQ(stack.Pop(10, "none"), "none");
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(9));
    EXPECT_LT(waited, std::chrono::milliseconds(500));
}

TEST(WorkStackTest, PopWakesWhenAnItemArrives) {
    QXUTIL::WorkStack<int> stack(200);
    std::thread producer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        stack.PushBack(7);
    });
    const auto start = Clock::now();
    EXPECT_EQ(stack.Pop(10000, -1), 7);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    producer.join();
}

TEST(WorkStackTest, ClearRemovesEveryItemFrontFirstAndTakesTheirCounts) {
    RecordingStack stack;
    stack.PushBack(1);
    stack.PushBack(2);
    stack.PushBack(3);
    EXPECT_EQ(stack.Clear(), 0);
    EXPECT_EQ(stack.removed, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(stack.Pop(0, -1), -1);
    stack.PushBack(4);
    EXPECT_EQ(Drain(stack), std::vector<int>{4});
}

TEST(WorkStackTest, ProducerThreadsBelowTheBoundLoseNothing) {
    constexpr int producers = 4;
    constexpr int perProducer = 2000;
    QXUTIL::WorkStack<int> stack(200);
    std::atomic<int> pushed{0};
    std::atomic<int> popped{0};
    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p) {
        threads.emplace_back([&, p] {
            for (int i = 0; i < perProducer; ++i) {
                while (pushed.load() - popped.load() >= 150) {
                    std::this_thread::yield();
                }
                ++pushed;
                stack.PushBack(p * perProducer + i);
            }
        });
    }
    std::vector<int> next(producers, 0);
    int received = 0;
    while (received < producers * perProducer) {
        const int item = stack.Pop(5000, -1);
        ASSERT_NE(item, -1) << "nothing arrived after " << received << " items";
        ++popped;
        ++received;
        const int producer = item / perProducer;
        EXPECT_EQ(item % perProducer, next[producer]) << "producer " << producer;
        next[producer] = item % perProducer + 1;
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(stack.Pop(0, -1), -1);
}

}  // namespace
