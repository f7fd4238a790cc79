#include "runtime/ZPushServiceSocket.h"

#include <zmq.h>

namespace QXUTIL {
namespace ZEROMQ {

ZPushService::ZPushServiceSocket::~ZPushServiceSocket() { Release(); }

int ZPushService::ZPushServiceSocket::Connect(const std::string& endpoint) {
    if (references_.fetch_add(1) > 0) {
        return 0;
    }
    const int result = Attached(ZBase::Connect(endpoint, ZMQ_PUSH));
    if (result != 0) {
        --references_;
    }
    return result;
}

void ZPushService::ZPushServiceSocket::Release() {
    if (references_.fetch_sub(1) == 1) {
        Close();
    }
}

}  // namespace ZEROMQ
}  // namespace QXUTIL
