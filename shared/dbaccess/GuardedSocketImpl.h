#ifndef DBACCESS_GUARDEDSOCKETIMPL_H
#define DBACCESS_GUARDEDSOCKETIMPL_H

#include <cstddef>
#include <string>

#include "Poco/Net/StreamSocketImpl.h"

namespace DBACCESS {

// The socket of a pooled connection. The MongoDB library reads a reply
// straight off the socket and trusts it: a reply cut short by a dying
// server, or one whose lengths do not add up, makes it loop for ever or
// abort the process. This socket therefore hands the library nothing of a
// reply until the whole reply has arrived and passed CheckReply; when it
// does not (end of stream, receive timeout, malformed reply), the library
// sees the stream end before the reply's header and raises its own
// Poco::IOException, and the socket stays at end of stream from then on.
class GuardedSocketImpl : public Poco::Net::StreamSocketImpl
{
public:
    GuardedSocketImpl();

    using Poco::Net::StreamSocketImpl::receiveBytes;
    using Poco::Net::StreamSocketImpl::sendBytes;

    // A new request: what is left of an earlier reply is dropped.
    int sendBytes(const void* buffer, int length, int flags = 0) override;
    // Bytes of the current reply, fetched whole first; 0 (end of stream)
    // when it could not be had.
    int receiveBytes(void* buffer, int length, int flags = 0) override;

protected:
    ~GuardedSocketImpl() override;

private:
    // Reads one whole reply into reply_; false (with the reason traced)
    // when it cannot be had or is malformed.
    bool FetchReply();
    // Reads exactly size bytes; false at end of stream.
    bool ReadExactly(char* into, std::size_t size);

    std::string reply_;
    std::size_t offset_;
    bool broken_;
};

}  // namespace DBACCESS

#endif
