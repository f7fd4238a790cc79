#include "dbaccess/GuardedSocketImpl.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "Poco/Exception.h"
#include "dbaccess/ReplyCheck.h"
#include "runtime/Trace.h"

namespace DBACCESS {

namespace {

// The message header's length field, then the rest of an OP_REPLY header.
const std::size_t LengthFieldSize = 4;
const std::size_t ReplyHeaderSize = 36;

std::size_t ReadLength(const char* at)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(at);
    const std::uint32_t value = static_cast<std::uint32_t>(bytes[0]) |
                                static_cast<std::uint32_t>(bytes[1]) << 8 |
                                static_cast<std::uint32_t>(bytes[2]) << 16 |
                                static_cast<std::uint32_t>(bytes[3]) << 24;
    return value;
}

}  // namespace

GuardedSocketImpl::GuardedSocketImpl() : offset_(0), broken_(false)
{
}

GuardedSocketImpl::~GuardedSocketImpl() = default;

int GuardedSocketImpl::sendBytes(const void* buffer, int length, int flags)
{
    reply_.clear();
    offset_ = 0;
    return Poco::Net::StreamSocketImpl::sendBytes(buffer, length, flags);
}

int GuardedSocketImpl::receiveBytes(void* buffer, int length, int /*flags*/)
{
    if (length <= 0)
        return 0;
    if (offset_ >= reply_.size())
    {
        reply_.clear();
        offset_ = 0;
        if (broken_ || !FetchReply())
        {
            broken_ = true;
            return 0;
        }
    }
    const std::size_t count = std::min(static_cast<std::size_t>(length), reply_.size() - offset_);
    std::memcpy(buffer, reply_.data() + offset_, count);
    offset_ += count;
    return static_cast<int>(count);
}

bool GuardedSocketImpl::FetchReply()
{
    std::string problem;
    try
    {
        char lengthField[LengthFieldSize];
        if (!ReadExactly(lengthField, sizeof(lengthField)))
        {
            problem = "the server closed the connection";
        }
        else
        {
            const std::size_t length = ReadLength(lengthField);
            if (length < ReplyHeaderSize || length > MaxReplySize)
            {
                problem = "a reply length of " + std::to_string(length) + " bytes";
            }
            else
            {
                reply_.assign(lengthField, sizeof(lengthField));
                reply_.resize(length);
                if (!ReadExactly(&reply_[LengthFieldSize], length - LengthFieldSize))
                    problem = "the server closed the connection in the middle of a reply";
                else
                    CheckReply(reply_, problem);
            }
        }
    }
    catch (const Poco::TimeoutException&)
    {
        problem = "no reply within the socket timeout";
    }
    catch (const Poco::Exception& e)
    {
        problem = e.displayText();
    }
    if (problem.empty())
        return true;
    reply_.clear();
    TraceMessage("Database reply refused: " + problem);
    return false;
}

bool GuardedSocketImpl::ReadExactly(char* into, std::size_t size)
{
    while (size > 0)
    {
        const int chunk = static_cast<int>(std::min(size, static_cast<std::size_t>(INT_MAX)));
        const int received = Poco::Net::StreamSocketImpl::receiveBytes(into, chunk, 0);
        if (received <= 0)
            return false;
        into += received;
        size -= static_cast<std::size_t>(received);
    }
    return true;
}

}  // namespace DBACCESS
