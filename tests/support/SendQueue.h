// The mail sender's queue semaphore "POSTWICK_SEND_QUEUE", made afresh and
// held as the mail sender holds it, so that every count on it during a test
// is the test's own.

#pragma once

#include <semaphore.h>

namespace TESTSUPPORT {

class SendQueue {
public:
    // Removes any earlier semaphore of the name and creates it with count 0.
    SendQueue();
    // Removes it again.
    ~SendQueue();

    SendQueue(const SendQueue&) = delete;
    SendQueue& operator=(const SendQueue&) = delete;

    // The releases so far; -1 when the semaphore could not be made.
    int Count() const;

private:
    sem_t* semaphore_;
};

}  // namespace TESTSUPPORT
