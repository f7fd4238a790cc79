#include "dbaccess/PoolableConnectionFactory.h"

#include "Poco/Net/SocketAddress.h"

#include "dbaccess/GuardedConnection.h"

namespace DBACCESS {

PoolableConnectionFactory::PoolableConnectionFactory(const std::string& address,
                                                     const DatabaseTimeLimits& limits)
    : address_(address), limits_(limits) {}

Poco::MongoDB::Connection::Ptr PoolableConnectionFactory::createObject() {
    return new GuardedConnection(Poco::Net::SocketAddress(address_), limits_);
}

bool PoolableConnectionFactory::validateObject(Poco::MongoDB::Connection::Ptr connection) {
    const auto* guarded = dynamic_cast<const GuardedConnection*>(connection.get());
    return guarded != nullptr && guarded->IsUsable();
}

void PoolableConnectionFactory::activateObject(Poco::MongoDB::Connection::Ptr /*connection*/) {}

void PoolableConnectionFactory::deactivateObject(Poco::MongoDB::Connection::Ptr /*connection*/) {}

void PoolableConnectionFactory::destroyObject(Poco::MongoDB::Connection::Ptr /*connection*/) {}

}  // namespace DBACCESS
