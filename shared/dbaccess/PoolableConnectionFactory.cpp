#include "dbaccess/PoolableConnectionFactory.h"

#include "Poco/Net/SocketAddress.h"

namespace DBACCESS {

PoolableConnectionFactory::PoolableConnectionFactory(const std::string& address,
                                                     const DatabaseTimeLimits& limits)
    : address_(address), limits_(limits) {}

GuardedConnection::Ptr PoolableConnectionFactory::createObject() {
    return new GuardedConnection(Poco::Net::SocketAddress(address_), limits_);
}

bool PoolableConnectionFactory::validateObject(GuardedConnection::Ptr connection) {
    return connection->IsUsable();
}

void PoolableConnectionFactory::activateObject(GuardedConnection::Ptr /*connection*/) {}

void PoolableConnectionFactory::deactivateObject(GuardedConnection::Ptr /*connection*/) {}

void PoolableConnectionFactory::destroyObject(GuardedConnection::Ptr /*connection*/) {}

}  // namespace DBACCESS
