#include "platform/SocketSend.h"

#include <sys/socket.h>

namespace PLATFORM {

int SendFlagsWithoutSignal(int flags) {
    return flags | MSG_NOSIGNAL;
}

}  // namespace PLATFORM
