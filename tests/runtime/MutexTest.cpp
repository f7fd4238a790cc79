#include "runtime/Mutex.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "WallClockStep.h"
#include "platform/KernelObjectName.h"
#include "runtime/MutexAutoLock.h"
#include "support/ForkedChild.h"

namespace {

using SEMAPHORE::Mutex;
using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// What another thread gets from Lock(ms) on the same mutex.
int LockFromOtherThread(Mutex& mutex, std::uint32_t ms, bool unlockAfter = true) {
    return std::async(std::launch::async,
                      [&] {
                          const int result = mutex.Lock(ms);
                          if (result == Mutex::Acquired && unlockAfter) {
                              mutex.Unlock();
                          }
                          return result;
                      })
        .get();
}

std::string UniqueName(const std::string& what) {
    return "qxtrace-test-" + std::to_string(getpid()) + "-" + what;
}

bool SharedObjectExists(const std::string& name) {
    struct stat info {};
    return stat(("/dev/shm" + PLATFORM::PosixMutexObjectName(PLATFORM::kGlobalNamePrefix + name))
                    .c_str(),
                &info) == 0;
}

// Named mutexes vanish with their last handle; a test that fails half-way
// must not leave one behind for the next run.
class NamedMutexTest : public ::testing::Test {
protected:
    void TearDown() override {
        shm_unlink(PLATFORM::PosixMutexObjectName(PLATFORM::kGlobalNamePrefix + name_).c_str());
    }
    const std::string name_ =
        UniqueName(::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST(MutexTest, UnnamedMutexIsRecursiveForItsOwnerAndExcludesOthers) {
    Mutex mutex;
    ASSERT_TRUE(mutex.Create("", false));
    ASSERT_EQ(mutex.Lock(0), Mutex::Acquired);
    ASSERT_EQ(mutex.Lock(Mutex::kInfinite), Mutex::Acquired);

    auto start = Clock::now();
    EXPECT_EQ(LockFromOtherThread(mutex, 0), Mutex::TimedOut);
    EXPECT_LT(MillisecondsSince(start), 200);

    start = Clock::now();
    EXPECT_EQ(LockFromOtherThread(mutex, 60), Mutex::TimedOut);
    EXPECT_GE(MillisecondsSince(start), 55);

    mutex.Unlock();
    EXPECT_EQ(LockFromOtherThread(mutex, 0), Mutex::TimedOut) << "one hold is left";
    mutex.Unlock();
    EXPECT_EQ(LockFromOtherThread(mutex, 0), Mutex::Acquired);
}

TEST(MutexTest, UnlockByAThreadThatDoesNotOwnItChangesNothing) {
    Mutex mutex;
    ASSERT_EQ(mutex.Lock(0), Mutex::Acquired);
    std::async(std::launch::async, [&] { mutex.Unlock(); }).get();
    EXPECT_EQ(LockFromOtherThread(mutex, 0), Mutex::TimedOut);
    mutex.Unlock();
}

TEST(MutexTest, AbandonedMutexGives128OnceAndTheCallerOwnsIt) {
    Mutex mutex;
    std::thread([&] { ASSERT_EQ(mutex.Lock(0), Mutex::Acquired); }).join();

    EXPECT_EQ(mutex.Lock(0), Mutex::NotAcquired);
    EXPECT_EQ(LockFromOtherThread(mutex, 0), Mutex::TimedOut)
        << "the abandoned wait took ownership";
    mutex.Unlock();
    EXPECT_EQ(mutex.Lock(0), Mutex::Acquired) << "abandonment is reported only once";
    mutex.Unlock();
    EXPECT_EQ(LockFromOtherThread(mutex, 0), Mutex::Acquired);
}

TEST(MutexTest, ClosingAHeldMutexGivesUpTheHolds) {
    Mutex mutex;
    ASSERT_EQ(mutex.Lock(0), Mutex::Acquired);
    ASSERT_EQ(mutex.Lock(0), Mutex::Acquired);
    // Replacing the handle must not leave the old mutex owned by this thread.
    ASSERT_TRUE(mutex.Create("", false));
    EXPECT_EQ(LockFromOtherThread(mutex, 0), Mutex::Acquired);
}

TEST(MutexTest, ATimedWaitTakesTheMutexWhenItsOwnerGivesItBack) {
    Mutex mutex;
    int guarded = 0;
    ASSERT_EQ(mutex.Lock(0), Mutex::Acquired);
    auto waiter = std::async(std::launch::async, [&] {
        const int result = mutex.Lock(10000);
        if (result == Mutex::Acquired) {
            guarded += 1;
            mutex.Unlock();
        }
        return result;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    guarded = 41;
    mutex.Unlock();
    EXPECT_EQ(waiter.get(), Mutex::Acquired);
    ASSERT_EQ(mutex.Lock(0), Mutex::Acquired);
    EXPECT_EQ(guarded, 42);
    mutex.Unlock();
}

TEST(MutexTest, TimedWaitsKeepTheirLengthWhenTheWallClockSteps) {
    Mutex mutex;
    ASSERT_EQ(mutex.Lock(0), Mutex::Acquired);
    for (const time_t step : {3600, -3600}) {
        WallClockStep wallClock(step);
        const auto start = Clock::now();
        auto waiter = std::async(std::launch::async, [&] {
            const int result = mutex.Lock(300);
            if (result == Mutex::Acquired) {
                mutex.Unlock();
            }
            return result;
        });
        // A wait that the step stretched is ended by a release, not by the test's time limit.
        const bool released = waiter.wait_for(std::chrono::seconds(3)) != std::future_status::ready;
        if (released) {
            mutex.Unlock();
        }
        EXPECT_EQ(waiter.get(), Mutex::TimedOut) << "step " << step;
        const long long waited = MillisecondsSince(start);
        EXPECT_GE(waited, 250) << "step " << step;
        EXPECT_LT(waited, 2500) << "step " << step;
        if (released) {
            ASSERT_EQ(mutex.Lock(0), Mutex::Acquired);
        }
    }
    mutex.Unlock();
}

TEST_F(NamedMutexTest, ClosingOneHandleKeepsTheHoldsTakenThroughAnother) {
    Mutex first;
    Mutex second;
    ASSERT_TRUE(first.Create(name_, true));
    ASSERT_TRUE(second.Create(name_, true));
    ASSERT_EQ(first.Lock(0), Mutex::Acquired);
    ASSERT_EQ(second.Lock(0), Mutex::Acquired);
    ASSERT_EQ(second.Lock(0), Mutex::Acquired);
    second.Create("", false);
    EXPECT_EQ(LockFromOtherThread(first, 0), Mutex::TimedOut)
        << "the hold taken through first stays";
    first.Unlock();
    EXPECT_EQ(LockFromOtherThread(first, 0), Mutex::Acquired);

    // A rollover lock taken while the same thread holds the log's mutex.
    {
        SEMAPHORE::MutexAutoLock outer(name_, "");
        { SEMAPHORE::MutexAutoLock inner(name_, ""); }
        EXPECT_EQ(LockFromOtherThread(first, 0), Mutex::TimedOut) << "the outer lock still holds";
    }
    EXPECT_EQ(LockFromOtherThread(first, 0), Mutex::Acquired);
}

// As a kernel object goes with its last handle, a named mutex whose every
// holder died is no more: the next creator makes a new, free one.
TEST_F(NamedMutexTest, AMutexWhoseHoldersAllDiedIsCreatedAfresh) {
    for (const bool openExisting : {false, true}) {
        TESTSUPPORT::ForkedChild child([this](TESTSUPPORT::ForkedChild&) {
            Mutex held;
            if (!held.Create(name_, false)) return 1;
            if (held.Lock(0) != Mutex::Acquired) return 2;
            _exit(0);  // ends without closing or releasing it
        });
        ASSERT_EQ(child.Join(), 0);
        ASSERT_TRUE(SharedObjectExists(name_)) << "left behind by the process that died";

        Mutex fresh;
        EXPECT_TRUE(fresh.Create(name_, openExisting)) << "open existing " << openExisting;
        EXPECT_EQ(fresh.Lock(0), Mutex::Acquired) << "a new mutex, not an abandoned one";
        fresh.Unlock();
        EXPECT_EQ(LockFromOtherThread(fresh, 0), Mutex::Acquired);
        Mutex joined;
        EXPECT_FALSE(joined.Create(name_, false)) << "a live holder keeps it";
    }
}

TEST_F(NamedMutexTest, CreateOnlyRefusesAnExistingMutexAndKeepsNoHandle) {
    Mutex first;
    ASSERT_TRUE(first.Create(name_, false));
    ASSERT_EQ(first.Lock(0), Mutex::Acquired);

    Mutex second;
    EXPECT_FALSE(second.Create(name_, false));
    const auto start = Clock::now();
    EXPECT_EQ(second.Lock(Mutex::kInfinite), Mutex::NotAcquired) << "no handle: at once";
    EXPECT_LT(MillisecondsSince(start), 200);
    second.Unlock();

    EXPECT_TRUE(second.Create(name_, true));
    EXPECT_EQ(LockFromOtherThread(second, 0), Mutex::TimedOut) << "both objects hold one mutex";
    first.Unlock();
    EXPECT_EQ(LockFromOtherThread(second, 0), Mutex::Acquired);
}

TEST_F(NamedMutexTest, NamedMutexIsRemovedWithItsLastHandle) {
    {
        Mutex first;
        Mutex second;
        ASSERT_TRUE(first.Create(name_, false));
        ASSERT_TRUE(second.Create(name_, true));
        ASSERT_TRUE(SharedObjectExists(name_));
        first.Create("", false);
        EXPECT_TRUE(SharedObjectExists(name_)) << "one handle is left";
    }
    EXPECT_FALSE(SharedObjectExists(name_));
    Mutex again;
    EXPECT_TRUE(again.Create(name_, false)) << "a new mutex of the same name";
}

TEST_F(NamedMutexTest, NamedMutexIsSharedByTwoProcesses) {
    Mutex mutex;
    ASSERT_TRUE(mutex.Create(name_, false));
    ASSERT_EQ(mutex.Lock(0), Mutex::Acquired);

    TESTSUPPORT::ForkedChild child([this](TESTSUPPORT::ForkedChild& parent) {
        Mutex joined;
        if (joined.Create(name_, false)) return 1;  // create only must refuse it
        if (!joined.Create(name_, true)) return 2;
        if (joined.Lock(0) != Mutex::TimedOut) return 3;  // the parent holds it
        parent.Tell();
        if (!parent.Await()) return 4;
        if (joined.Lock(5000) != Mutex::Acquired) return 5;  // released by the parent
        parent.Tell();
        parent.Await();
        _exit(0);  // ends holding it: abandoned
    });

    ASSERT_TRUE(child.Await());
    mutex.Unlock();
    child.Tell();
    ASSERT_TRUE(child.Await());
    EXPECT_EQ(mutex.Lock(0), Mutex::TimedOut) << "the child holds it";
    child.Tell();
    EXPECT_EQ(child.Join(), 0);
    EXPECT_EQ(mutex.Lock(5000), Mutex::NotAcquired) << "the child ended holding it";
    mutex.Unlock();
    EXPECT_EQ(mutex.Lock(0), Mutex::Acquired);
    mutex.Unlock();
}

TEST_F(NamedMutexTest, AutoLockHoldsTheNamedMutexOfPrefixAndName) {
    Mutex other;
    {
        SEMAPHORE::MutexAutoLock hold(name_, "");
        ASSERT_TRUE(other.Create(name_, true));
        EXPECT_EQ(LockFromOtherThread(other, 0), Mutex::TimedOut);
    }
    EXPECT_EQ(LockFromOtherThread(other, 0), Mutex::Acquired);

    Mutex suffixed;
    ASSERT_TRUE(suffixed.Create(name_ + "-part", true));
    {
        SEMAPHORE::MutexAutoLock hold(name_, "-part");
        EXPECT_EQ(LockFromOtherThread(suffixed, 0), Mutex::TimedOut);
        EXPECT_EQ(LockFromOtherThread(other, 0), Mutex::Acquired);
    }
    shm_unlink(
        PLATFORM::PosixMutexObjectName(PLATFORM::kGlobalNamePrefix + name_ + "-part").c_str());
}

}  // namespace
