#include "Vif_PJ_AddSource.h"
#include "Vif_PJ_UpdateSource.h"
#include "Vipc_ConnectionStream.h"
#include "Vipc_MessageHandler.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

namespace {

// A broken promise of the reader is a finding, not just a wrong answer.
void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The navigator's side: messages until the bytes run out or stop making sense.
void ReadMessages(Vipc_ConnectionStream& stream)
{
    const Vif_PJ::AddSource addSource;
    const Vif_PJ::UpdateSource updateSource;
    for (;;) {
        Vipc_ConnectionStream::Status status = Vipc_ConnectionStream::Ok;
        Vipc_MessageHandler* message =
            Vipc_MessageHandler::ReceiveMessage(stream, {&addSource, &updateSource}, 0, status);
        Require((message != nullptr) == (status == Vipc_ConnectionStream::Ok));
        if (message == nullptr)
            return;
        Require(message->Release() == 0);
    }
}

// The client's side: the bytes are the navigator's answer to one message.
void ReadResponse(Vipc_ConnectionStream& stream)
{
    auto* message = new Vif_PJ::AddSource;
    message->SetPath("/p/a.v");
    const Vipc_ConnectionStream::Status status = message->SendTheMessage(&stream, false, 0);
    Require(status != Vipc_ConnectionStream::Oversized);
    message->Release();
}

}  // namespace

// The first byte picks the side; the rest arrives from a peer that then hangs up.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 100000)
        return 0;
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return 0;
    Vipc_ConnectionStream stream(fds[0]);
    const std::size_t sent = static_cast<std::size_t>(::send(fds[1], data + 1, size - 1, 0));
    Require(sent == size - 1);
    ::shutdown(fds[1], SHUT_WR);
    if (data[0] & 1)
        ReadResponse(stream);
    else
        ReadMessages(stream);
    ::close(fds[1]);
    return 0;
}
