#ifndef DBACCESS_GUARDEDSOCKETFACTORY_H
#define DBACCESS_GUARDEDSOCKETFACTORY_H

#include <string>

#include "Poco/MongoDB/Connection.h"
#include "Poco/Net/StreamSocket.h"
#include "Poco/Timespan.h"

namespace DBACCESS {

// Makes the sockets of the pool's connections: a GuardedSocketImpl,
// connected at once (a refused connect raises the library's
// Poco::Net::ConnectionRefusedException), with timeout as its receive and
// send timeout.
class GuardedSocketFactory : public Poco::MongoDB::Connection::SocketFactory
{
public:
    explicit GuardedSocketFactory(const Poco::Timespan& timeout);
    ~GuardedSocketFactory() override;

    // connectTimeout is not used (the server is local: a refusal comes at
    // once); secure raises Poco::NotImplementedException.
    Poco::Net::StreamSocket createSocket(const std::string& host, int port,
                                         Poco::Timespan connectTimeout, bool secure) override;

private:
    Poco::Timespan timeout_;
};

}  // namespace DBACCESS

#endif
