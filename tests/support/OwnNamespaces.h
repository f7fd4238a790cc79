// Namespaces of a process's own, so that a test may listen on the fixed
// database port and make the mail queue's semaphore whatever else runs on
// the machine at the same time.

#pragma once

namespace TESTSUPPORT {

// The id maps of a user namespace in which the caller keeps its own ids;
// made before a fork, so that the child needs no allocation.
struct IdMaps {
    IdMaps();
    char users[64];
    char groups[64];
};

// Gives the calling process a network of its own that holds only its
// loopback (127.0.0.1, up), and with ownShm also a mount namespace with an
// empty tmpfs on /dev/shm. Without the privilege for these it makes a user
// namespace for them, with the caller's ids mapped to themselves (the calling
// process must then have one thread). Only async-signal-safe calls, so a child
// may call it between fork and exec. False when the namespaces cannot be made.
bool EnterOwnNamespaces(const IdMaps& ids, bool ownShm);

}  // namespace TESTSUPPORT
