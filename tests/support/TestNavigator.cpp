#include "TestNavigator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "Vif_PJ_AddSource.h"
#include "Vif_PJ_UpdateSource.h"
#include "Vipc_ConnectionStream.h"

namespace {

// Short, so that the thread notices the end of the test quickly.
constexpr int kPollMs = 20;

int Listen(std::uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(fd, 4) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

void SendRaw(int socket, const QByteArray& bytes)
{
    ::send(socket, bytes.constData(), static_cast<size_t>(bytes.size()), MSG_NOSIGNAL);
}

}  // namespace

TestNavigator::TestNavigator(Behaviour behaviour) : behaviour(behaviour)
{
    listener = Listen(listeningPort);
    if (listener >= 0)
        thread = std::thread([this] { Run(); });
}

TestNavigator::~TestNavigator()
{
    stopping.store(true);
    if (thread.joinable())
        thread.join();
    if (listener >= 0)
        ::close(listener);
}

QStringList TestNavigator::received() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return messages;
}

void TestNavigator::Run()
{
    while (!stopping.load()) {
        pollfd waiting{listener, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) != 1)
            continue;
        const int socket = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0)
            continue;
        accepted.fetch_add(1);
        Serve(socket);
    }
}

// Until the client closes (or the test ends); the stream closes the socket.
void TestNavigator::Serve(int socket)
{
    Vipc_ConnectionStream stream(socket);
    const Vif_PJ::AddSource addSource;
    const Vif_PJ::UpdateSource updateSource;
    while (!stopping.load()) {
        Vipc_ConnectionStream::Status status = Vipc_ConnectionStream::Ok;
        Vipc_MessageHandler* message = Vipc_MessageHandler::ReceiveMessage(
            stream, {&addSource, &updateSource}, kPollMs, status);
        if (status == Vipc_ConnectionStream::TimedOut)
            continue;
        if (message == nullptr)
            return;
        const auto* source = dynamic_cast<Vif_PJ::AddSource*>(message);
        const auto* update = dynamic_cast<Vif_PJ::UpdateSource*>(message);
        const QByteArray name = message->GetMessageName().c_str();
        const QByteArray path = source ? source->GetPath().c_str() : update->GetPath().c_str();
        message->Release();
        {
            const std::lock_guard<std::mutex> lock(mutex);
            messages.append(QString::fromUtf8(name + ' ' + path));
        }
        Respond(stream, name);
    }
}

void TestNavigator::Respond(Vipc_ConnectionStream& stream, const QByteArray& name)
{
    if (behaviour == Garbage)
        SendRaw(stream.GetSocket(), QByteArray("\0\0\0\6garbag", 10));
    else if (behaviour == Oversized)
        SendRaw(stream.GetSocket(), QByteArray("\x7f\0\0\0", 4));
    else if (behaviour == Answer)
        Vipc_MessageHandler::SendResponse(stream, name.constData(), 0, 1000);
}
