#include "support/SendQueue.h"

#include <fcntl.h>

#include <gtest/gtest.h>

namespace TESTSUPPORT {

namespace {

// What the programs open for "Global\POSTWICK_SEND_QUEUE".
const char* const kName = "/POSTWICK_SEND_QUEUE";

}  // namespace

SendQueue::SendQueue() {
    sem_unlink(kName);
    semaphore_ = sem_open(kName, O_CREAT | O_EXCL, 0600, 0);
    EXPECT_NE(semaphore_, SEM_FAILED) << "cannot create " << kName;
}

SendQueue::~SendQueue() {
    if (semaphore_ != SEM_FAILED) sem_close(semaphore_);
    sem_unlink(kName);
}

int SendQueue::Count() const {
    int value = -1;
    if (semaphore_ != SEM_FAILED) sem_getvalue(semaphore_, &value);
    return value;
}

}  // namespace TESTSUPPORT
