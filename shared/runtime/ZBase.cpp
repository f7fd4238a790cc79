#include "runtime/ZBase.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <new>
#include <thread>

#include <zmq.h>

#include "runtime/SharedConstants.h"
#include "runtime/ZContext.h"

namespace QXUTIL {
namespace ZEROMQ {

namespace {

constexpr int kLibraryReceiveTimeout = -1;  // what a new socket has: wait for ever

// One received message part, closed when it goes out of scope.
struct MessagePart {
    MessagePart() { zmq_msg_init(&message); }
    ~MessagePart() { zmq_msg_close(&message); }
    MessagePart(const MessagePart&) = delete;
    MessagePart& operator=(const MessagePart&) = delete;

    const char* Data() { return static_cast<const char*>(zmq_msg_data(&message)); }
    std::size_t Size() { return zmq_msg_size(&message); }

    zmq_msg_t message;
};

// Errors after which a socket or its context can no longer be used.
bool LeavesSocketUnusable(int error) {
    return error == EFAULT || error == ENOTSOCK || error == ETERM;
}

void SleepFor(int milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

}  // namespace

ZBase::ZBase() : receiveTimeout_(kLibraryReceiveTimeout) {}

ZBase::~ZBase() { Close(); }

void ZBase::ClearError(const std::string& text) {
    lastError_ = 0;
    lastErrorText_ = text;
}

void ZBase::KeepError(int error) {
    lastError_ = error;
    lastErrorText_ = zmq_strerror(error);
}

int ZBase::Bind(const std::string& endpoint, int type) { return Attach(endpoint, type, false); }

int ZBase::Connect(const std::string& endpoint, int type) {
    ClearError(kNoErrorText);
    return Attach(endpoint, type, true);
}

int ZBase::Attach(const std::string& endpoint, int type, bool connect) {
    Close();  // an object holds one socket; a second attach would lose the first
    const ZContext guard;
    socket_ = zmq_socket(ZContext::Context.load(), type);
    if (!socket_) {
        KeepError(zmq_errno());
        return -1;
    }
    receiveTimeout_ = kLibraryReceiveTimeout;
    const int result =
        connect ? zmq_connect(socket_, endpoint.c_str()) : zmq_bind(socket_, endpoint.c_str());
    if (result != 0) {
        KeepError(zmq_errno());
        FreeBuffer();
        zmq_close(socket_);  // never counted as open
        socket_ = nullptr;
        return result;
    }
    if (connect) {
        SetLinger(kConnectLinger);
    }
    ++ZContext::OpenSocketCount;
    SetHighWaterMark(kDefaultHighWaterMark);
    return 0;
}

void ZBase::Close() {
    FreeBuffer();
    if (socket_) {
        if (zmq_close(socket_) == 0) {
            --ZContext::OpenSocketCount;
        }
        socket_ = nullptr;
    }
}

void ZBase::FreeBuffer() {
    buffer_.clear();
    buffer_.shrink_to_fit();
}

bool ZBase::IsOpen() const { return socket_ != nullptr; }

int ZBase::SetIntOption(int option, int value) {
    const int result = zmq_setsockopt(socket_, option, &value, sizeof value);
    if (result != 0) {
        KeepError(zmq_errno());
    }
    return result;
}

void ZBase::SetLinger(int milliseconds) {
    if (milliseconds >= 0) {
        zmq_setsockopt(socket_, ZMQ_LINGER, &milliseconds, sizeof milliseconds);
    }
}

int ZBase::SetHighWaterMark(int messages) {
    const int send = SetIntOption(ZMQ_SNDHWM, messages);
    const int receive = SetIntOption(ZMQ_RCVHWM, messages);
    return send != 0 ? send : receive;
}

int ZBase::SetReceiveTimeout(int milliseconds) {
    const int result = SetIntOption(ZMQ_RCVTIMEO, milliseconds);
    if (result == 0) {
        receiveTimeout_ = milliseconds;
    }
    return result;
}

int ZBase::SetSendTimeout(int milliseconds) { return SetIntOption(ZMQ_SNDTIMEO, milliseconds); }

void ZBase::ApplyReceiveTimeout(int milliseconds) {
    if (milliseconds != receiveTimeout_) {
        SetReceiveTimeout(milliseconds);
    }
}

void ZBase::Failed(int error) {
    KeepError(error);
    if (error == EAGAIN) {
        ClearError("");
    } else if (LeavesSocketUnusable(error)) {
        Close();
    }
}

bool ZBase::MorePartsFollow() {
    int more = 0;
    std::size_t size = sizeof more;
    return zmq_getsockopt(socket_, ZMQ_RCVMORE, &more, &size) == 0 && more != 0;
}

void ZBase::DropRestOfMessage() {
    while (socket_ && MorePartsFollow()) {
        MessagePart part;
        if (zmq_msg_recv(&part.message, socket_, 0) < 0) {
            return;
        }
    }
}

bool ZBase::ReceiveMessage(int timeoutMs,
                           const std::function<void(const char*, std::size_t)>& take) {
    ClearError(kNoErrorText);
    FreeBuffer();
    if (!socket_) {
        lastError_ = -1;
        SleepFor(timeoutMs);
        return false;
    }
    ApplyReceiveTimeout(timeoutMs);
    try {
        do {
            MessagePart part;
            if (zmq_msg_recv(&part.message, socket_, 0) < 0) {
                Failed(zmq_errno());
                return false;
            }
            take(part.Data(), part.Size());
        } while (MorePartsFollow());
    } catch (const std::bad_alloc&) {
        DropRestOfMessage();
        FreeBuffer();
        KeepError(ENOMEM);
        return false;
    }
    return true;
}

void* ZBase::ReceiveData(int& size, int timeoutMs) {
    size = 0;
    ReceiveMessage(timeoutMs, [this](const char* data, std::size_t length) {
        buffer_.insert(buffer_.end(), data, data + length);
    });
    size = static_cast<int>(buffer_.size());
    return buffer_.empty() ? nullptr : buffer_.data();
}

std::string ZBase::ReceiveString(int timeoutMs) {
    std::string text;
    const bool received = ReceiveMessage(timeoutMs, [&text](const char* data, std::size_t length) {
        text.append(data, strnlen(data, length));
    });
    // Parts gathered before a failure are no whole message.
    return received ? text : std::string();
}

int ZBase::SendPart(const void* data, std::size_t size, bool more, int& error) {
    zmq_msg_t message;
    if (zmq_msg_init_size(&message, size) != 0) {
        error = zmq_errno();
        return -1;
    }
    if (size > 0) {
        std::memcpy(zmq_msg_data(&message), data, size);
    }
    const int flags = more ? ZMQ_DONTWAIT | ZMQ_SNDMORE : ZMQ_DONTWAIT;
    const int result = zmq_msg_send(&message, socket_, flags) < 0 ? -1 : 0;
    error = result != 0 ? zmq_errno() : 0;
    zmq_msg_close(&message);
    return result;
}

int ZBase::SendData(const void* data, int length, bool more) {
    ClearError(kNoErrorText);
    if (!socket_) {
        return -1;
    }
    int error = 0;
    const int result =
        SendPart(data, length > 0 ? static_cast<std::size_t>(length) : 0, more, error);
    if (result != 0) {
        Failed(error);
    }
    return result;
}

int ZBase::SendString(const std::string& text, bool more) {
    ClearError(kNoErrorText);
    if (!socket_) {
        return -1;
    }
    int error = 0;
    const int result = SendPart(text.data(), text.size(), more, error);
    if (result != 0) {
        Close();
        KeepError(error);
    }
    return result;
}

}  // namespace ZEROMQ
}  // namespace QXUTIL
