#pragma once

#include <cstdint>

#include "Port_StringBase.h"

class Vipc_ConnectionStream;

// One end of the navigator connection. The hooks tell a derived connector what happened to
// its connection; each does nothing here.
class Vipc_Connector {
public:
    Vipc_Connector() = default;
    Vipc_Connector(const Vipc_Connector&) = delete;
    Vipc_Connector& operator=(const Vipc_Connector&) = delete;
    virtual ~Vipc_Connector();

    virtual Port::String GetConnectorName() const;
    virtual void SetConnectorName(const Port::String& name);
    virtual void ListenerTimedOut();
    virtual void ListenerConnected(Vipc_ConnectionStream* connection);
    virtual void ConnectionClosedRemotely(Vipc_ConnectionStream* connection);
    virtual void ConnectionClosed(Vipc_ConnectionStream* connection);

    // A new connection owned by the caller, or null when host:port cannot be reached
    // within the connect time limit (host a name or a numeric address).
    static Vipc_ConnectionStream* ConnectTo(std::uint16_t port, const Port::String& host);
    // Milliseconds a connect may take before it counts as failed.
    static constexpr int s_connectTimeoutMs = 5000;

private:
    Port::String name;
};
