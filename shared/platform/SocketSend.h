#ifndef PLATFORM_SOCKETSEND_H
#define PLATFORM_SOCKETSEND_H

namespace PLATFORM {

// The flags of a socket send plus the one that makes a send to a peer that
// has gone fail with EPIPE instead of raising SIGPIPE, which would end the
// process without a word.
int SendFlagsWithoutSignal(int flags);

}  // namespace PLATFORM

#endif
