#include "runtime/ZPushService.h"

namespace QXUTIL {
namespace ZEROMQ {

ZPushService::ZPushService() = default;

ZPushService::~ZPushService() = default;

void ZPushService::Send(const std::string&, const std::string&) {}

void ZPushService::Disconnect(const std::string&) {}

}  // namespace ZEROMQ
}  // namespace QXUTIL
