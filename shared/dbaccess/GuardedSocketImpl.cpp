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

// The message header's length field, then the rest of an OP_REPLY header;
// the response flags follow the 16-byte message header.
const std::size_t LengthFieldSize = 4;
const std::size_t ReplyHeaderSize = 36;
const std::size_t ReplyFlagsOffset = 16;

std::uint32_t ReadUInt32(const char* at)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(at);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

GuardedSocketImpl::GuardedSocketImpl(const DatabaseTimeLimits& limits)
    : limits_(limits), offset_(0), replyFlags_(0), failure_(Failure::None)
{
}

GuardedSocketImpl::~GuardedSocketImpl() = default;

int GuardedSocketImpl::sendBytes(const void* buffer, int length, int flags)
{
    reply_.clear();
    offset_ = 0;
    // What the library sends after a failure would only meet the failure
    // again; the stream that calls here swallows the exception.
    if (failure_ != Failure::None)
        throw Poco::IOException(failureText_);
    try
    {
        return Poco::Net::StreamSocketImpl::sendBytes(buffer, length, flags);
    }
    catch (const Poco::TimeoutException&)
    {
        Break(Failure::TimedOut, "the request could not be sent within " + LimitText(limits_.send));
        throw;
    }
    catch (const Poco::Exception& e)
    {
        Break(Failure::Closed, "the request could not be sent: " + e.displayText());
        throw;
    }
}

int GuardedSocketImpl::receiveBytes(void* buffer, int length, int /*flags*/)
{
    if (length <= 0)
        return 0;
    if (offset_ >= reply_.size())
    {
        reply_.clear();
        offset_ = 0;
        if (failure_ != Failure::None || !FetchReply())
            return 0;
    }
    const std::size_t count = std::min(static_cast<std::size_t>(length), reply_.size() - offset_);
    std::memcpy(buffer, reply_.data() + offset_, count);
    offset_ += count;
    return static_cast<int>(count);
}

GuardedSocketImpl::Failure GuardedSocketImpl::Broken() const
{
    return failure_;
}

const std::string& GuardedSocketImpl::FailureText() const
{
    return failureText_;
}

Poco::Int32 GuardedSocketImpl::LastReplyFlags() const
{
    return replyFlags_;
}

bool GuardedSocketImpl::FetchReply()
{
    replyFlags_ = 0;
    try
    {
        // The wait for the server to begin is long; once it has begun, the
        // whole reply has a limit of its own.
        if (!poll(limits_.replyBegin, SELECT_READ | SELECT_ERROR))
        {
            Break(Failure::TimedOut, "no reply began within " + LimitText(limits_.replyBegin));
            return false;
        }
        const Clock::time_point deadline =
            Clock::now() + std::chrono::microseconds(limits_.reply.totalMicroseconds());
        char lengthField[LengthFieldSize];
        if (!ReadReplyPart(lengthField, sizeof(lengthField), deadline,
                           "the server closed the connection before replying"))
            return false;
        const std::size_t length = ReadUInt32(lengthField);
        if (length < ReplyHeaderSize || length > MaxReplySize)
        {
            Break(Failure::Malformed, "a reply length of " + std::to_string(length) + " bytes");
            return false;
        }
        reply_.assign(lengthField, sizeof(lengthField));
        reply_.resize(length);
        if (!ReadReplyPart(&reply_[LengthFieldSize], length - LengthFieldSize, deadline,
                           "the server closed the connection in the middle of a reply"))
            return false;
        std::string problem;
        if (!CheckReply(reply_, problem))
        {
            Break(Failure::Malformed, problem);
            return false;
        }
        replyFlags_ = static_cast<Poco::Int32>(ReadUInt32(reply_.data() + ReplyFlagsOffset));
        return true;
    }
    catch (const Poco::Exception& e)
    {
        Break(Failure::Closed, "the connection failed: " + e.displayText());
        return false;
    }
}

bool GuardedSocketImpl::ReadReplyPart(char* into, std::size_t size, Clock::time_point deadline,
                                      const std::string& closed)
{
    while (size > 0)
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !poll(Poco::Timespan(left), SELECT_READ | SELECT_ERROR))
        {
            Break(Failure::TimedOut, "the reply was not complete within " + LimitText(limits_.reply) +
                                         " of its start");
            return false;
        }
        const int chunk = static_cast<int>(std::min(size, static_cast<std::size_t>(INT_MAX)));
        const int received = Poco::Net::StreamSocketImpl::receiveBytes(into, chunk, 0);
        if (received <= 0)
        {
            Break(Failure::Closed, closed);
            return false;
        }
        into += received;
        size -= static_cast<std::size_t>(received);
    }
    return true;
}

void GuardedSocketImpl::Break(Failure failure, const std::string& text)
{
    reply_.clear();
    offset_ = 0;
    if (failure_ != Failure::None)
        return;
    failure_ = failure;
    failureText_ = text;
    TraceMessage("Database connection broken: " + text);
}

}  // namespace DBACCESS
