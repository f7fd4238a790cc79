#include "dbaccess/GuardedSocketImpl.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "Poco/Exception.h"

#include "dbaccess/ReplyCheck.h"
#include "dbaccess/WireInt32.h"
#include "platform/SocketReceive.h"
#include "runtime/Trace.h"

namespace DBACCESS {

namespace {

// The message header's length field, then the rest of an OP_REPLY header;
// the request id, the id of the request a reply answers and the response
// flags follow the length field.
const std::size_t kLengthFieldSize = 4;
const std::size_t kMessageHeaderSize = 16;
const std::size_t kReplyHeaderSize = 36;
const std::size_t kRequestIdOffset = 4;
const std::size_t kResponseToOffset = 8;
const std::size_t kReplyFlagsOffset = 16;
// What the first receive of a reply asks for: most replies fit, a batch of
// a large search comes in further receives.
const std::size_t kFirstReceiveSize = 64 * 1024;
// The most reply buffer an idle connection keeps: a reply larger than that
// (a search batch of megabytes, up to kMaxReplySize) gives its room back
// once it has been read.
const std::size_t kKeptBufferSize = 1024 * 1024;

}  // namespace

GuardedSocketImpl::GuardedSocketImpl(const DatabaseTimeLimits& limits)
    : limits_(limits),
      received_(0),
      replyEnd_(0),
      offset_(0),
      replyFlags_(0),
      requestLeft_(0),
      lastRequestId_(0),
      failure_(Failure::None) {}

GuardedSocketImpl::~GuardedSocketImpl() = default;

int GuardedSocketImpl::sendBytes(const void* buffer, int length, int flags) {
    offset_ = replyEnd_;
    // What the library sends after a failure would only meet the failure
    // again; the stream that calls here swallows the exception.
    if (failure_ != Failure::None) throw Poco::IOException(failureText_);
    if (length <= 0) return 0;
    outgoing_.append(static_cast<const char*>(buffer), static_cast<std::size_t>(length));
    const std::size_t ready = NumberRequests();
    try {
        // A blocking stream socket sends all of it or throws.
        if (ready > 0)
            Poco::Net::StreamSocketImpl::sendBytes(outgoing_.data(), static_cast<int>(ready),
                                                   flags);
    } catch (const Poco::TimeoutException&) {
        Break(Failure::TimedOut, "the request could not be sent within " + LimitText(limits_.send));
        throw;
    } catch (const Poco::Exception& e) {
        Break(Failure::Closed, "the request could not be sent: " + e.displayText());
        throw;
    }
    outgoing_.erase(0, ready);
    return length;
}

std::size_t GuardedSocketImpl::NumberRequests() {
    std::size_t at = 0;
    while (at < outgoing_.size()) {
        if (requestLeft_ == 0) {
            if (outgoing_.size() - at < kRequestIdOffset + 4) return at;
            const std::int32_t length = ReadInt32(outgoing_.data() + at);
            requestLeft_ =
                std::max(static_cast<std::size_t>(std::max(length, 0)), kMessageHeaderSize);
            lastRequestId_ = lastRequestId_ == INT32_MAX ? 1 : lastRequestId_ + 1;
            WriteInt32(&outgoing_[at + kRequestIdOffset], lastRequestId_);
        }
        const std::size_t step = std::min(requestLeft_, outgoing_.size() - at);
        at += step;
        requestLeft_ -= step;
    }
    return at;
}

int GuardedSocketImpl::receiveBytes(void* buffer, int length, int /*flags*/) {
    if (length <= 0) return 0;
    if (offset_ >= replyEnd_ && (failure_ != Failure::None || !FetchReply())) return 0;
    const std::size_t count = std::min(static_cast<std::size_t>(length), replyEnd_ - offset_);
    std::memcpy(buffer, buffer_.data() + offset_, count);
    offset_ += count;
    if (offset_ == replyEnd_ && received_ == replyEnd_ && buffer_.size() > kKeptBufferSize) {
        // The outsized reply has been read whole and nothing came after it.
        std::string().swap(buffer_);
        received_ = replyEnd_ = offset_ = 0;
    }
    return static_cast<int>(count);
}

GuardedSocketImpl::Failure GuardedSocketImpl::Broken() const { return failure_; }

const std::string& GuardedSocketImpl::FailureText() const { return failureText_; }

Poco::Int32 GuardedSocketImpl::LastReplyFlags() const { return replyFlags_; }

bool GuardedSocketImpl::FetchReply() {
    replyFlags_ = 0;
    // Bytes that came after the previous reply begin this one.
    std::memmove(&buffer_[0], buffer_.data() + replyEnd_, received_ - replyEnd_);
    received_ -= replyEnd_;
    replyEnd_ = 0;
    offset_ = 0;
    if (received_ == 0) {
        // The wait for the server to begin is long (the receive timeout);
        // once it has begun, the whole reply has a limit of its own. A
        // reply that has arrived whole comes with this one receive.
        Reserve(kFirstReceiveSize);
        const PLATFORM::SocketReceipt receipt =
            PLATFORM::ReceiveWaiting(sockfd(), &buffer_[0], buffer_.size());
        switch (receipt.status) {
            case PLATFORM::SocketReceipt::Status::Received:
                received_ = receipt.count;
                break;
            case PLATFORM::SocketReceipt::Status::TimedOut:
                Break(Failure::TimedOut, "no reply began within " + LimitText(limits_.replyBegin));
                return false;
            case PLATFORM::SocketReceipt::Status::Closed:
                Break(Failure::Closed, "the server closed the connection before replying");
                return false;
            case PLATFORM::SocketReceipt::Status::Failed:
                Break(Failure::Closed,
                      "the connection failed: " + std::string(std::strerror(receipt.error)));
                return false;
        }
    }
    const Clock::time_point deadline =
        Clock::now() + std::chrono::microseconds(limits_.reply.totalMicroseconds());
    if (!ReceiveUntil(kLengthFieldSize, deadline,
                      "the server closed the connection before replying"))
        return false;
    const std::int32_t length = ReadInt32(buffer_.data());
    if (length < static_cast<std::int32_t>(kReplyHeaderSize) ||
        length > static_cast<std::int32_t>(kMaxReplySize)) {
        Break(Failure::Malformed, "a reply length of " + std::to_string(length) + " bytes");
        return false;
    }
    const auto size = static_cast<std::size_t>(length);
    if (!ReceiveUntil(size, deadline, "the server closed the connection in the middle of a reply"))
        return false;
    std::string problem;
    const ReplyVerdict verdict = CheckReply(std::string_view(buffer_.data(), size), problem);
    if (verdict == ReplyVerdict::Malformed) {
        Break(Failure::Malformed, problem);
        return false;
    }
    const std::int32_t answered = ReadInt32(buffer_.data() + kResponseToOffset);
    if (answered != lastRequestId_) {
        // Left over from an earlier exchange, or meant for no request of ours.
        Break(Failure::Malformed, "a reply to request " + std::to_string(answered) +
                                      " instead of request " + std::to_string(lastRequestId_) +
                                      ", the one just sent");
        return false;
    }
    if (verdict == ReplyVerdict::TooDeep) {
        Break(Failure::Unreadable, problem);
        return false;
    }
    replyEnd_ = size;
    replyFlags_ = ReadInt32(buffer_.data() + kReplyFlagsOffset);
    return true;
}

bool GuardedSocketImpl::ReceiveUntil(std::size_t size, Clock::time_point deadline,
                                     const char* closed) {
    Reserve(size);
    while (received_ < size) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
        const PLATFORM::SocketReceipt receipt =
            left <= 0
                ? PLATFORM::SocketReceipt{PLATFORM::SocketReceipt::Status::TimedOut, 0, 0}
                : PLATFORM::ReceiveArrived(sockfd(), &buffer_[received_], size - received_, left);
        switch (receipt.status) {
            case PLATFORM::SocketReceipt::Status::Received:
                received_ += receipt.count;
                break;
            case PLATFORM::SocketReceipt::Status::TimedOut:
                Break(Failure::TimedOut, "the reply was not complete within " +
                                             LimitText(limits_.reply) + " of its start");
                return false;
            case PLATFORM::SocketReceipt::Status::Closed:
                Break(Failure::Closed, closed);
                return false;
            case PLATFORM::SocketReceipt::Status::Failed:
                Break(Failure::Closed,
                      "the connection failed: " + std::string(std::strerror(receipt.error)));
                return false;
        }
    }
    return true;
}

void GuardedSocketImpl::Reserve(std::size_t size) {
    if (buffer_.size() < size) buffer_.resize(size);
}

void GuardedSocketImpl::Break(Failure failure, const std::string& text) {
    received_ = 0;
    replyEnd_ = 0;
    offset_ = 0;
    if (failure_ != Failure::None) return;
    failure_ = failure;
    failureText_ = text;
    TraceMessage("Database connection broken: " + text);
}

}  // namespace DBACCESS
