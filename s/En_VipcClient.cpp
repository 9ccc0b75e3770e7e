#include "En_VipcClient.h"

#include <cstdint>
#include <cstdlib>

#include "En_PjClientAddSource.h"
#include "En_PjClientUpdateSource.h"
#include "Ipu_DebugMessengerFactory.h"
#include "Port_Env.h"
#include "Vipc_ConnectionStream.h"

namespace En {

namespace {

constexpr int kDefaultExchangeLimitMs = 10000;

const char* StatusText(int status)
{
    switch (status) {
        case Vipc_ConnectionStream::TimedOut:
            return "no answer in time";
        case Vipc_ConnectionStream::Closed:
            return "closed by the navigator";
        case Vipc_ConnectionStream::Oversized:
            return "frame beyond the size limit";
        case Vipc_ConnectionStream::Malformed:
            return "answer out of step";
        default:
            return "socket error";
    }
}

}  // namespace

VipcClient* VipcClient::_instance = nullptr;
std::atomic<int> VipcClient::_exchangeLimitMs{0};

VipcClient::VipcClient() = default;

VipcClient::~VipcClient()
{
    delete connection;
}

VipcClient* VipcClient::GetInstance()
{
    static std::once_flag created;
    std::call_once(created, [] { _instance = new VipcClient; });
    return _instance;
}

int VipcClient::ExchangeLimitMs()
{
    const int set = _exchangeLimitMs.load();
    if (set > 0)
        return set;
    const long fromEnvironment =
        std::strtol(Port_Env::GetVariable("GANTREL_VIPC_TIMEOUT_MS").c_str(), nullptr, 10);
    return fromEnvironment > 0 && fromEnvironment <= 3600000 ? static_cast<int>(fromEnvironment)
                                                             : kDefaultExchangeLimitMs;
}

void VipcClient::SetExchangeLimitMs(int milliseconds)
{
    _exchangeLimitMs.store(milliseconds);
}

void VipcClient::EstablishConnection(unsigned port, const Port::String& host)
{
    Ipu::DebugMessenger& logger = Ipu::DebugMessengerFactory::GetLogger("VipcClient");
    Vipc_ConnectionStream* opened =
        Vipc_Connector::ConnectTo(static_cast<std::uint16_t>(port), host);
    if (opened == nullptr)
        logger.Normal("Warning: Could not connect to %s on port %d.\n", host.c_str(),
                      static_cast<int>(port));
    const std::lock_guard<std::mutex> lock(guard);
    if (connection != nullptr)
        ConnectionClosed(connection);
    delete connection;
    connection = opened;
}

void VipcClient::SendAddSource(const Port::String& file)
{
    auto* message = new PjClientAddSource;
    message->SetPath(file);
    Send(message);
}

void VipcClient::SendUpdateSource(const Port::String& file)
{
    auto* message = new PjClientUpdateSource;
    message->SetPath(file);
    Send(message);
}

void VipcClient::Send(Vipc_MessageHandler* message)
{
    const std::lock_guard<std::mutex> lock(guard);
    if (connection != nullptr) {
        const int status = message->SendTheMessage(connection, false, ExchangeLimitMs());
        if (status != Vipc_ConnectionStream::Ok)
            DropConnection(status);
    }
    message->Release();
}

// A refused frame left the stream in step; anything else did not, so the connection goes.
void VipcClient::DropConnection(int status)
{
    Ipu::DebugMessenger& logger = Ipu::DebugMessengerFactory::GetLogger("VipcClient");
    if (status == Vipc_ConnectionStream::Oversized) {
        logger.Normal("Warning: Message not sent: %s.\n", StatusText(status));
        return;
    }
    logger.Normal("Warning: Navigator connection dropped: %s.\n", StatusText(status));
    if (status == Vipc_ConnectionStream::Closed)
        ConnectionClosedRemotely(connection);
    ConnectionClosed(connection);
    delete connection;
    connection = nullptr;
}

}  // namespace En
