#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace QXUTIL {
namespace ZEROMQ {

// One messaging socket with its last error, receive time-out and receive
// buffer. Sends never block. Errors are the library's numbers and texts:
// error 0 with the text "None" after a call cleared it, 0 with an empty text
// after a receive that found nothing in time. A socket object is used by one
// thread at a time.
class ZBase {
public:
    static constexpr int kDefaultHighWaterMark = 500;  // messages
    static constexpr int kConnectLinger = 30000;       // ms

    ZBase();
    // Closes a socket still open.
    virtual ~ZBase();

    ZBase(const ZBase&) = delete;
    ZBase& operator=(const ZBase&) = delete;

    // Makes a socket of the type (ZMQ_PUSH, ZMQ_PULL...) in the process's
    // context and binds it to, or connects it to, the endpoint. 0 on success;
    // -1 when no socket could be made, else the bind or connect result, with
    // the error kept. Connect first clears the error and gives the connected
    // socket a linger of 30 s; Bind keeps an earlier error until a failure.
    int Bind(const std::string& endpoint, int type);
    int Connect(const std::string& endpoint, int type);

    // Frees the receive buffer and closes the socket.
    void Close();

    virtual void FreeBuffer();
    virtual bool IsOpen() const;
    // Negative values are ignored.
    virtual void SetLinger(int milliseconds);
    // The option call's result; a failure is kept as the error.
    virtual int SetHighWaterMark(int messages);
    virtual int SetReceiveTimeout(int milliseconds);

    // One whole message, its parts run together, in the receive buffer (owned
    // by this object until the next receive, FreeBuffer or destruction), with
    // its length in size; null when nothing came within the time-out. Without
    // a socket it waits out the time-out and sets the error to -1. A message
    // that cannot be held in memory is read to its end and dropped (error
    // ENOMEM).
    virtual void* ReceiveData(int& size, int timeoutMs);
    // The same as text, each part up to its first NUL; empty when nothing came.
    virtual std::string ReceiveString(int timeoutMs);

    // Sends one part (more: further parts follow) without waiting. 0 on
    // success, -1 when closed or when the send failed. A failed SendString
    // closes the socket; SendData closes it only when the socket or its
    // context is no longer usable.
    virtual int SendData(const void* data, int length, bool more);
    virtual int SendString(const std::string& text, bool more);

    virtual int SetSendTimeout(int milliseconds);

    int LastError() const { return lastError_; }
    const std::string& LastErrorText() const { return lastErrorText_; }

private:
    // Makes the socket and attaches it; shared by Bind and Connect.
    int Attach(const std::string& endpoint, int type, bool connect);

    void ClearError(const std::string& text);
    void KeepError(int error);
    int SetIntOption(int option, int value);
    void ApplyReceiveTimeout(int milliseconds);
    // Keeps the error of a failed receive or SendData; a try-again is cleared
    // and errors that leave the socket unusable close it.
    void Failed(int error);
    bool MorePartsFollow();
    void DropRestOfMessage();
    // Receives the parts of one message, handing each to take. False when a
    // part did not come, or when memory ran out (the rest of the message is
    // read and dropped, the error is ENOMEM).
    bool ReceiveMessage(int timeoutMs, const std::function<void(const char*, std::size_t)>& take);
    // Sends one part without waiting: 0, or -1 with the library's error.
    int SendPart(const void* data, std::size_t size, bool more, int& error);

    int lastError_ = 0;
    std::string lastErrorText_;
    void* socket_ = nullptr;
    int receiveTimeout_;  // what the socket has been given; the library's own at first
    std::vector<unsigned char> buffer_;
};

}  // namespace ZEROMQ
}  // namespace QXUTIL
