#include "runtime/ZPush.h"

#include <zmq.h>

namespace QXUTIL {
namespace ZEROMQ {

int ZPush::Bind(const std::string& endpoint) { return Attached(ZBase::Bind(endpoint, ZMQ_PUSH)); }

int ZPush::Connect(const std::string& endpoint) {
    return Attached(ZBase::Connect(endpoint, ZMQ_PUSH));
}

int ZPush::Send(const std::string& text) { return IsOpen() ? SendString(text, false) : 0; }

int ZPush::Attached(int result) {
    if (result == 0) {
        SetHighWaterMark(kDefaultHighWaterMark);
    }
    return result;
}

}  // namespace ZEROMQ
}  // namespace QXUTIL
