#pragma once

#include <string>

namespace QXUTIL {
namespace ZEROMQ {

// A handle on the process-wide registry of PUSH sockets by endpoint.
class ZPushService {
public:
  ZPushService();
  virtual ~ZPushService();

  // Sends text to the endpoint's socket, connecting one first when needed.
  void Send(const std::string& endpoint, const std::string& text);

  // Under the registry lock: releases, destroys and forgets the endpoint's
  // socket.
  void Disconnect(const std::string& endpoint);
};

}  // namespace ZEROMQ
}  // namespace QXUTIL
