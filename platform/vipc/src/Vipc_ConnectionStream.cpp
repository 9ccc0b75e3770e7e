#include "Vipc_ConnectionStream.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

constexpr char kStringTag = 's';
constexpr char kIntegerTag = 'i';

void AppendUint32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xff));
}

std::uint32_t ParseUint32(const char* data)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline for poll(); -1 without one, 0 once it has passed.
int Remaining(bool limited, Clock::time_point deadline)
{
    if (!limited)
        return -1;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

// Non-blocking, so that a send or receive never waits beyond what poll() allowed.
Vipc_ConnectionStream::Vipc_ConnectionStream(int socket) : socket(socket)
{
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
}

Vipc_ConnectionStream::~Vipc_ConnectionStream()
{
    ::close(socket);
}

Vipc_ConnectionStream& Vipc_ConnectionStream::operator<<(const Port::String& text)
{
    outgoing.push_back(kStringTag);
    AppendUint32(outgoing, static_cast<std::uint32_t>(text.GetLength()));
    outgoing.append(text.str());
    return *this;
}

Vipc_ConnectionStream& Vipc_ConnectionStream::operator<<(int value)
{
    outgoing.push_back(kIntegerTag);
    AppendUint32(outgoing, static_cast<std::uint32_t>(value));
    return *this;
}

Vipc_ConnectionStream& Vipc_ConnectionStream::operator>>(Port::String& text)
{
    const char* data = nullptr;
    if (!Take(1, data) || *data != kStringTag || !Take(4, data)) {
        good = false;
        return *this;
    }
    const std::uint32_t size = ParseUint32(data);
    if (!Take(size, data)) {
        good = false;
        return *this;
    }
    text = Port::String(data, size);
    return *this;
}

Vipc_ConnectionStream& Vipc_ConnectionStream::operator>>(int& value)
{
    const char* data = nullptr;
    if (!Take(1, data) || *data != kIntegerTag || !Take(4, data)) {
        good = false;
        return *this;
    }
    value = static_cast<int>(ParseUint32(data));
    return *this;
}

bool Vipc_ConnectionStream::Take(std::size_t size, const char*& data)
{
    if (!good || incoming.size() - readPosition < size)
        return false;
    data = incoming.data() + readPosition;
    readPosition += size;
    return true;
}

Vipc_ConnectionStream::Status Vipc_ConnectionStream::SendFrame(int timeoutMs)
{
    std::string frame;
    frame.swap(outgoing);
    if (frame.size() > s_maxFrameSize)
        return Oversized;
    std::string header;
    AppendUint32(header, static_cast<std::uint32_t>(frame.size()));
    frame.insert(0, header);
    return Transfer(frame.data(), frame.size(), true, timeoutMs);
}

Vipc_ConnectionStream::Status Vipc_ConnectionStream::ReceiveFrame(int timeoutMs)
{
    incoming.clear();
    readPosition = 0;
    good = false;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char header[4];
    Status status = Transfer(header, sizeof header, false, timeoutMs);
    if (status != Ok)
        return status;
    const std::uint32_t size = ParseUint32(header);
    if (size > s_maxFrameSize)
        return Oversized;
    incoming.resize(size);
    status = Transfer(incoming.data(), size, false, Remaining(timeoutMs >= 0, deadline));
    good = status == Ok;
    return status;
}

// Moves all of data through the socket before the time limit, whichever way.
Vipc_ConnectionStream::Status Vipc_ConnectionStream::Transfer(char* data, std::size_t size,
                                                              bool sending, int timeoutMs)
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t done = 0;
    while (done < size) {
        pollfd waiting{socket, static_cast<short>(sending ? POLLOUT : POLLIN), 0};
        const int ready = ::poll(&waiting, 1, Remaining(timeoutMs >= 0, deadline));
        if (ready == 0)
            return TimedOut;
        if (ready < 0 && errno != EINTR)
            return Failed;
        if (ready < 0)
            continue;
        // MSG_NOSIGNAL: a navigator that went away is a status, not a SIGPIPE.
        const ssize_t moved = sending ? ::send(socket, data + done, size - done, MSG_NOSIGNAL)
                                      : ::recv(socket, data + done, size - done, 0);
        if (moved == 0)
            return Closed;
        if (moved < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)
            return errno == EPIPE || errno == ECONNRESET ? Closed : Failed;
        if (moved > 0)
            done += static_cast<std::size_t>(moved);
    }
    return Ok;
}
