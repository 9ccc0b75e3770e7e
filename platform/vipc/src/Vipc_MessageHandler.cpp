#include "Vipc_MessageHandler.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

int Left(int timeoutMs, Clock::time_point start)
{
    if (timeoutMs < 0)
        return timeoutMs;
    const auto spent =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return spent >= timeoutMs ? 0 : timeoutMs - static_cast<int>(spent);
}

}  // namespace

void Vipc_MessageHandler::AddRef()
{
    references.fetch_add(1, std::memory_order_relaxed);
}

unsigned Vipc_MessageHandler::Release()
{
    const unsigned left = references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0)
        delete this;
    return left;
}

Vipc_MessageHandler::~Vipc_MessageHandler() = default;

bool Vipc_MessageHandler::HasStringPayload() const
{
    return false;
}

void Vipc_MessageHandler::WriteStringPayload(Vipc_ConnectionStream&) const {}

void Vipc_MessageHandler::ReadStringPayload(Vipc_ConnectionStream&) {}

void Vipc_MessageHandler::PrepareIntPayload() {}

void Vipc_MessageHandler::WriteIntPayload(Vipc_ConnectionStream&) const {}

void Vipc_MessageHandler::ReadIntPayload(Vipc_ConnectionStream&) {}

void Vipc_MessageHandler::ProcessResponse() {}

void Vipc_MessageHandler::WritePayloads(Vipc_ConnectionStream& stream)
{
    stream << GetMessageName();
    if (HasStringPayload())
        WriteStringPayload(stream);
    PrepareIntPayload();
    WriteIntPayload(stream);
}

void Vipc_MessageHandler::ReadPayloads(Vipc_ConnectionStream& stream)
{
    if (HasStringPayload())
        ReadStringPayload(stream);
    ReadIntPayload(stream);
}

Vipc_ConnectionStream::Status Vipc_MessageHandler::SendTheMessage(Vipc_ConnectionStream* connection,
                                                                  bool oneWay, int timeoutMs)
{
    if (connection == nullptr)
        return Vipc_ConnectionStream::Closed;
    const Clock::time_point start = Clock::now();
    WritePayloads(*connection);
    const Vipc_ConnectionStream::Status sent = connection->SendFrame(timeoutMs);
    if (sent != Vipc_ConnectionStream::Ok || oneWay)
        return sent;
    return ReceiveResponse(*connection, Left(timeoutMs, start));
}

// The response names the message it answers, so an answer to something else is refused.
Vipc_ConnectionStream::Status Vipc_MessageHandler::ReceiveResponse(Vipc_ConnectionStream& stream,
                                                                   int timeoutMs)
{
    const Vipc_ConnectionStream::Status received = stream.ReceiveFrame(timeoutMs);
    // Oversized stands for a frame refused unsent; an answer too large is out of step.
    if (received == Vipc_ConnectionStream::Oversized)
        return Vipc_ConnectionStream::Malformed;
    if (received != Vipc_ConnectionStream::Ok)
        return received;
    Port::String name;
    int status = 0;
    stream >> name >> status;
    if (!stream.IsGood() || !stream.AtEnd() || name != GetMessageName())
        return Vipc_ConnectionStream::Malformed;
    responseStatus = status;
    ProcessResponse();
    return Vipc_ConnectionStream::Ok;
}

Vipc_MessageHandler* Vipc_MessageHandler::ReceiveMessage(
    Vipc_ConnectionStream& stream, const std::vector<const Vipc_MessageHandler*>& known,
    int timeoutMs, Vipc_ConnectionStream::Status& status)
{
    status = stream.ReceiveFrame(timeoutMs);
    if (status != Vipc_ConnectionStream::Ok)
        return nullptr;
    Port::String name;
    stream >> name;
    status = Vipc_ConnectionStream::Malformed;
    for (const Vipc_MessageHandler* prototype : known) {
        if (!stream.IsGood() || prototype->GetMessageName() != name)
            continue;
        Vipc_MessageHandler* message = prototype->Create();
        message->ReadPayloads(stream);
        if (stream.IsGood() && stream.AtEnd()) {
            status = Vipc_ConnectionStream::Ok;
            return message;
        }
        message->Release();
        return nullptr;
    }
    return nullptr;
}

Vipc_ConnectionStream::Status Vipc_MessageHandler::SendResponse(Vipc_ConnectionStream& stream,
                                                                const Port::String& name,
                                                                int status, int timeoutMs)
{
    stream << name << status;
    return stream.SendFrame(timeoutMs);
}
