#pragma once

#include <QByteArray>

#include <sys/socket.h>

#include <memory>

#include "Vipc_ConnectionStream.h"

// Two connected streams without a network: what one sends, the other receives.
struct SocketPair {
    SocketPair()
    {
        int fds[2];
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds);
        near = std::make_unique<Vipc_ConnectionStream>(fds[0]);
        far = std::make_unique<Vipc_ConnectionStream>(fds[1]);
    }
    // Raw bytes from the far end, past the frame writer.
    void sendRaw(const QByteArray& bytes) const
    {
        ::send(far->GetSocket(), bytes.constData(), static_cast<size_t>(bytes.size()), 0);
    }

    std::unique_ptr<Vipc_ConnectionStream> near;
    std::unique_ptr<Vipc_ConnectionStream> far;
};
