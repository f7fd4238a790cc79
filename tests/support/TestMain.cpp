// The main of every test binary. CTest runs one binary per suite, several at
// once; each takes a network and a /dev/shm of its own first, so that its
// test database server on 127.0.0.1:27017 and its mail queue semaphore meet
// no other suite's. Done before any thread starts: the fall-back through a
// user namespace needs a single-threaded process.

#include <cstdio>

#include <gtest/gtest.h>

#include "support/OwnNamespaces.h"

int main(int argc, char** argv) {
    if (!TESTSUPPORT::EnterOwnNamespaces(TESTSUPPORT::IdMaps(), true)) {
        std::fprintf(stderr,
                     "%s: no network and /dev/shm of its own here; the tests use the machine's "
                     "127.0.0.1:27017 and /dev/shm, so run one suite at a time\n",
                     argv[0]);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
