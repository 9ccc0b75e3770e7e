#pragma once

#include <atomic>
#include <mutex>

#include "Port_StringBase.h"
#include "Vipc_Connector.h"

class Vipc_ConnectionStream;
class Vipc_MessageHandler;

namespace En {

// The one connection to the project navigator, which is told of every source file the
// engine adds or updates. Without a connection the sends are skipped silently.
//
// Thread-safe: the engine reports from several worker threads at once, so exchanges are
// serialized; a send waits for the one in progress. Each exchange has a time limit, and a
// navigator that misses it or answers out of step is dropped (one "VipcClient" debug
// trace), so that it can never hold up generation for longer than one limit.
class VipcClient : public Vipc_Connector {
public:
    ~VipcClient() override;

    // Created on first use; never deleted.
    static VipcClient* GetInstance();

    // Replaces the current connection, if any, with one to host:port.
    void EstablishConnection(unsigned port, const Port::String& host);
    void SendAddSource(const Port::String& file);
    void SendUpdateSource(const Port::String& file);

    // Milliseconds an exchange may take: the value set here when positive, else
    // GANTREL_VIPC_TIMEOUT_MS when a positive number, else 10 s.
    static int ExchangeLimitMs();
    static void SetExchangeLimitMs(int milliseconds);

private:
    VipcClient();
    // Takes over the caller's reference to message.
    void Send(Vipc_MessageHandler* message);
    void DropConnection(int status);

    static VipcClient* _instance;
    static std::atomic<int> _exchangeLimitMs;

    std::mutex guard;
    Vipc_ConnectionStream* connection = nullptr;  // owned; guarded
};

}  // namespace En
