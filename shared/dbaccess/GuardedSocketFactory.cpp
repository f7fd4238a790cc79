#include "dbaccess/GuardedSocketFactory.h"

#include "Poco/Exception.h"
#include "Poco/Net/SocketAddress.h"
#include "dbaccess/GuardedSocketImpl.h"

namespace DBACCESS {

GuardedSocketFactory::GuardedSocketFactory(const Poco::Timespan& timeout) : timeout_(timeout)
{
}

GuardedSocketFactory::~GuardedSocketFactory() = default;

Poco::Net::StreamSocket GuardedSocketFactory::createSocket(const std::string& host, int port,
                                                           Poco::Timespan /*connectTimeout*/,
                                                           bool secure)
{
    if (secure)
        throw Poco::NotImplementedException("no secure database connections");
    Poco::Net::StreamSocket socket(new GuardedSocketImpl);
    socket.connect(Poco::Net::SocketAddress(host, static_cast<Poco::UInt16>(port)));
    socket.setReceiveTimeout(timeout_);
    socket.setSendTimeout(timeout_);
    return socket;
}

}  // namespace DBACCESS
