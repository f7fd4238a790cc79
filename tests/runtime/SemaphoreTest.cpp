#include "runtime/Semaphore.h"

#include <fcntl.h>
#include <semaphore.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <future>
#include <string>

#include <gtest/gtest.h>

#include "WallClockStep.h"
#include "platform/KernelObjectName.h"
#include "runtime/Mutex.h"
#include "support/ForkedChild.h"

namespace {

using PLATFORM::WaitResult;
using SEMAPHORE::Semaphore;

std::string PosixName(const std::string& name) {
    return PLATFORM::PosixObjectName(PLATFORM::kGlobalNamePrefix + name);
}

// Named semaphores outlive their processes: every test removes its own.
class NamedSemaphoreTest : public ::testing::Test {
protected:
    void TearDown() override { sem_unlink(PosixName(name_).c_str()); }
    const std::string name_ = "qxtrace-test-" + std::to_string(getpid()) + "-" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name();
};

TEST(SemaphoreTest, OpenOfAnEmptyOrUnknownNameFails) {
    Semaphore semaphore;
    EXPECT_FALSE(semaphore.Open(""));
    EXPECT_FALSE(semaphore.Open("qxtrace-test-never-created-" + std::to_string(getpid())));
    EXPECT_EQ(semaphore.Handle(), nullptr);
}

TEST(SemaphoreTest, CountStartsAtZeroAndStopsAt200) {
    Semaphore semaphore;
    ASSERT_TRUE(semaphore.Create(""));
    auto* handle = semaphore.Handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->Wait(0), WaitResult::TimedOut);

    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(handle->Release(1)) << "release " << i + 1;
    }
    EXPECT_FALSE(handle->Release(1));
    EXPECT_FALSE(handle->Release(1));
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(handle->Wait(0), WaitResult::Signaled) << "wait " << i + 1;
    }
    EXPECT_EQ(handle->Wait(0), WaitResult::TimedOut) << "the failed releases added nothing";

    ASSERT_TRUE(handle->Release(150));
    EXPECT_FALSE(handle->Release(51)) << "all or nothing";
    EXPECT_TRUE(handle->Release(50));
}

TEST(SemaphoreTest, TimedWaitLastsAboutItsTime) {
    Semaphore semaphore;
    ASSERT_TRUE(semaphore.Create(""));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(semaphore.Handle()->Wait(50), WaitResult::TimedOut);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(45));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
}

TEST(SemaphoreTest, TimedWaitKeepsItsLengthWhenTheWallClockSteps) {
    Semaphore semaphore;
    ASSERT_TRUE(semaphore.Create(""));
    for (const time_t step : {3600, -3600}) {
        WallClockStep wallClock(step);
        const auto start = std::chrono::steady_clock::now();
        auto waiter = std::async(std::launch::async, [&] { return semaphore.Handle()->Wait(300); });
        // A wait that the step stretched is ended by a release, not by the test's time limit.
        if (waiter.wait_for(std::chrono::seconds(3)) != std::future_status::ready) {
            semaphore.Handle()->Release(1);
        }
        EXPECT_EQ(waiter.get(), WaitResult::TimedOut) << "step " << step;
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, std::chrono::milliseconds(250)) << "step " << step;
        EXPECT_LT(waited, std::chrono::milliseconds(2500)) << "step " << step;
    }
}

TEST_F(NamedSemaphoreTest, CreateAndOpenFromTwoProcesses) {
    Semaphore created;
    ASSERT_TRUE(created.Create(name_));

    TESTSUPPORT::ForkedChild child([this](TESTSUPPORT::ForkedChild&) {
        Semaphore opened;
        if (!opened.Open(name_)) return 1;
        if (!opened.Handle()->Release(2)) return 2;
        Semaphore again;
        if (!again.Create(name_)) return 3;  // opens the existing one, count kept
        return again.Handle()->Wait(0) == WaitResult::Signaled ? 0 : 4;
    });
    EXPECT_EQ(child.Join(), 0);
    EXPECT_EQ(created.Handle()->Wait(2000), WaitResult::Signaled);
    EXPECT_EQ(created.Handle()->Wait(0), WaitResult::TimedOut);
}

TEST_F(NamedSemaphoreTest, ReleasePast200FailsForANamedSemaphore) {
    Semaphore semaphore;
    ASSERT_TRUE(semaphore.Create(name_));
    ASSERT_TRUE(semaphore.Handle()->Release(200));
    Semaphore opened;
    ASSERT_TRUE(opened.Open(name_));
    EXPECT_FALSE(opened.Handle()->Release(1));
    int count = 0;
    sem_t* direct = sem_open(PosixName(name_).c_str(), 0);
    ASSERT_NE(direct, SEM_FAILED);
    sem_getvalue(direct, &count);
    sem_close(direct);
    EXPECT_EQ(count, 200);
}

TEST_F(NamedSemaphoreTest, APlainNameIsTheSamePosixSemaphore) {
    // Other programs open the mail queue semaphore as "/" + its name.
    EXPECT_EQ(PosixName("POSTWICK_SEND_QUEUE"), "/POSTWICK_SEND_QUEUE");
    sem_t* direct = sem_open(("/" + name_).c_str(), O_CREAT | O_EXCL, 0600, 0);
    ASSERT_NE(direct, SEM_FAILED);
    Semaphore opened;
    ASSERT_TRUE(opened.Open(name_));
    ASSERT_TRUE(opened.Handle()->Release(1));
    EXPECT_EQ(sem_trywait(direct), 0);
    sem_close(direct);
}

TEST_F(NamedSemaphoreTest, NamesWithAwkwardCharactersAreDistinctObjects) {
    const std::string names[] = {name_ + "/a", name_ + "%2Fa", name_ + "\\a", name_ + " a",
                                 name_ + std::string("\0a", 2)};
    Semaphore semaphores[5];
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(semaphores[i].Create(names[i])) << i;
        ASSERT_TRUE(semaphores[i].Handle()->Release(static_cast<std::uint32_t>(i + 1)));
    }
    for (int i = 0; i < 5; ++i) {
        Semaphore opened;
        ASSERT_TRUE(opened.Open(names[i])) << i;
        for (int n = 0; n <= i; ++n) {
            EXPECT_EQ(opened.Handle()->Wait(0), WaitResult::Signaled) << i;
        }
        EXPECT_EQ(opened.Handle()->Wait(0), WaitResult::TimedOut) << "only its own count: " << i;
        sem_unlink(PosixName(names[i]).c_str());
    }
}

// What lies under a semaphore's name may be anything a local user left
// there; none of it is mapped, and Open tells it apart from no semaphore.
TEST_F(NamedSemaphoreTest, AnObjectThatIsNoSemaphoreIsRefusedUnmapped) {
    Semaphore missing;
    EXPECT_FALSE(missing.Open(name_));
    EXPECT_EQ(missing.OpenError(), ENOENT);
    EXPECT_FALSE(missing.Open(""));
    EXPECT_EQ(missing.OpenError(), EINVAL);

    const std::string file = "/dev/shm/sem." + PosixName(name_).substr(1);
    const std::string decoy = file + "-decoy";
    const struct {
        const char* what;
        std::function<bool()> plant;
    } cases[] = {
        {"zero-length file",
         [&] { return ::close(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666)) == 0; }},
        {"short file",
         [&] {
             const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
             const bool written = ::write(fd, "sem", 3) == 3;
             return ::close(fd) == 0 && written;
         }},
        {"folder", [&] { return ::mkdir(file.c_str(), 0777) == 0; }},
        {"link to a semaphore",
         [&] {
             Semaphore real;
             return real.Create(name_ + "-decoy") && ::symlink(decoy.c_str(), file.c_str()) == 0;
         }},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.plant()) << c.what;
        Semaphore opened;
        EXPECT_FALSE(opened.Open(name_)) << c.what;
        EXPECT_EQ(opened.OpenError(), EINVAL) << c.what;
        EXPECT_EQ(opened.Handle(), nullptr) << c.what;
        Semaphore created;
        EXPECT_FALSE(created.Create(name_)) << c.what << ": not taken as the existing semaphore";
        ::unlink(file.c_str());
        ::rmdir(file.c_str());
        ::unlink(decoy.c_str());
    }

    Semaphore real;
    ASSERT_TRUE(real.Create(name_));
    Semaphore opened;
    EXPECT_TRUE(opened.Open(name_));
    EXPECT_EQ(opened.OpenError(), 0);
}

// A semaphore's file is open to every user: what another process does to it
// after it was opened makes a release fail with the reason, never end the
// process (a mapping cut short raises SIGBUS where it is touched).
TEST_F(NamedSemaphoreTest, ReleaseOnAnObjectSpoiltAfterItsOpenFailsWithTheReason) {
    const std::string file = "/dev/shm/sem." + PosixName(name_).substr(1);
    const struct {
        const char* what;
        std::function<void()> spoil;
        int error;
    } cases[] = {
        {"filled with 0xff bytes",
         [&] {
             const std::string bytes(sizeof(sem_t), '\xff');
             const int fd = ::open(file.c_str(), O_WRONLY);
             ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
             ::close(fd);
         },
         EINVAL},
        {"cut short", [&] { ASSERT_EQ(::truncate(file.c_str(), 0), 0); }, EFAULT},
    };
    struct sigaction before {};
    ASSERT_EQ(sigaction(SIGBUS, nullptr, &before), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sem_unlink(PosixName(name_).c_str());
        Semaphore created;
        ASSERT_TRUE(created.Create(name_));
        Semaphore opened;
        ASSERT_TRUE(opened.Open(name_));
        c.spoil();
        errno = 0;
        EXPECT_FALSE(opened.Handle()->Release(1));
        EXPECT_EQ(errno, c.error);
    }
    // The guard is gone again: the process's own SIGBUS handling is as before.
    struct sigaction after {};
    ASSERT_EQ(sigaction(SIGBUS, nullptr, &after), 0);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

TEST_F(NamedSemaphoreTest, AMutexAndASemaphoreOfOneNameDoNotMeet) {
    Semaphore semaphore;
    ASSERT_TRUE(semaphore.Create(name_));
    SEMAPHORE::Mutex mutex;
    EXPECT_TRUE(mutex.Create(name_, false)) << "create only: no mutex of that name exists";
    EXPECT_EQ(mutex.Lock(0), SEMAPHORE::Mutex::Acquired);
    mutex.Unlock();
}

}  // namespace
