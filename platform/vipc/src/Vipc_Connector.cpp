#include "Vipc_Connector.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "Vipc_ConnectionStream.h"

namespace {

// A socket connected to the address within the time limit, or -1.
int ConnectOne(const addrinfo& address, int timeoutMs)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0)
        return fd;
    if (errno == EINPROGRESS) {
        pollfd waiting{fd, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        if (::poll(&waiting, 1, timeoutMs) == 1 &&
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0)
            return fd;
    }
    ::close(fd);
    return -1;
}

}  // namespace

Vipc_Connector::~Vipc_Connector() = default;

Port::String Vipc_Connector::GetConnectorName() const
{
    return name;
}

void Vipc_Connector::SetConnectorName(const Port::String& value)
{
    name = value;
}

void Vipc_Connector::ListenerTimedOut() {}

void Vipc_Connector::ListenerConnected(Vipc_ConnectionStream*) {}

void Vipc_Connector::ConnectionClosedRemotely(Vipc_ConnectionStream*) {}

void Vipc_Connector::ConnectionClosed(Vipc_ConnectionStream*) {}

Vipc_ConnectionStream* Vipc_Connector::ConnectTo(std::uint16_t port, const Port::String& host)
{
    // Left zero, the family admits IPv4 and IPv6 alike.
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return nullptr;
    int fd = -1;
    for (const addrinfo* address = found; address != nullptr && fd < 0; address = address->ai_next)
        fd = ConnectOne(*address, s_connectTimeoutMs);
    ::freeaddrinfo(found);
    return fd < 0 ? nullptr : new Vipc_ConnectionStream(fd);
}
