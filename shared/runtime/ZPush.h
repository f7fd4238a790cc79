#pragma once

#include <string>

#include "runtime/ZBase.h"

namespace QXUTIL {
namespace ZEROMQ {

// A PUSH socket: hands text messages on without waiting.
class ZPush : public ZBase {
public:
    virtual int Bind(const std::string& endpoint);
    virtual int Connect(const std::string& endpoint);

    // SendString of one whole message; 0 without sending when no socket is open.
    virtual int Send(const std::string& text);

protected:
    // A bind or connect result; a PUSH socket just attached gets its
    // high-water mark again.
    int Attached(int result);
};

}  // namespace ZEROMQ
}  // namespace QXUTIL
