#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Port_StringBase.h"

// A connected TCP socket that exchanges length-prefixed frames (see docs/navigator-messages.md).
// Fields are written with << into the outgoing frame and sent by SendFrame; ReceiveFrame
// replaces the incoming frame, whose fields are read with >> in order.
//
// Plain POSIX sockets with poll() rather than QTcpSocket: the engine's worker threads that
// send have no event loop, and a QTcpSocket may only be used on the thread it lives on.
//
// Not thread-safe: one exchange at a time; the owner serializes. A field that does not match
// (wrong kind, past the end) fails the stream: every later read fails until the next frame.
class Vipc_ConnectionStream {
public:
    enum Status { Ok = 0, TimedOut, Closed, Oversized, Malformed, Failed };
    // The largest frame body either side accepts; a larger one is refused, never buffered.
    static constexpr std::size_t s_maxFrameSize = 64 * 1024;

    // Takes ownership of the connected socket.
    explicit Vipc_ConnectionStream(int socket);
    ~Vipc_ConnectionStream();
    Vipc_ConnectionStream(const Vipc_ConnectionStream&) = delete;
    Vipc_ConnectionStream& operator=(const Vipc_ConnectionStream&) = delete;

    Vipc_ConnectionStream& operator<<(const Port::String& text);
    Vipc_ConnectionStream& operator<<(int value);
    Vipc_ConnectionStream& operator>>(Port::String& text);
    Vipc_ConnectionStream& operator>>(int& value);

    // Sends the outgoing frame and empties it; timeoutMs < 0 waits without limit.
    Status SendFrame(int timeoutMs);
    // Waits for one whole frame; timeoutMs < 0 waits without limit.
    Status ReceiveFrame(int timeoutMs);
    // False once a read did not match the incoming frame.
    bool IsGood() const { return good; }
    // True when every field of the incoming frame has been read.
    bool AtEnd() const { return readPosition == incoming.size(); }
    int GetSocket() const { return socket; }

private:
    Status Transfer(char* data, std::size_t size, bool sending, int timeoutMs);
    bool Take(std::size_t size, const char*& data);

    int socket;
    std::string outgoing;
    std::string incoming;
    std::size_t readPosition = 0;
    bool good = true;
};
