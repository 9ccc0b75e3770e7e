#pragma once

#include <atomic>
#include <vector>

#include "Port_StringBase.h"
#include "Vipc_ConnectionStream.h"

// A message to or from the navigator: its name, then its payloads, in one frame; the other
// side answers with a response frame (see docs/navigator-messages.md).
//
// Reference counted: created with one reference, deleted by the Release that drops the last.
// The count is atomic; the message itself is used by one thread at a time.
class Vipc_MessageHandler {
public:
    // The timeout that waits for as long as the exchange takes.
    static constexpr int s_blockIndefinitely = -1;

    Vipc_MessageHandler() = default;
    Vipc_MessageHandler(const Vipc_MessageHandler&) = delete;
    Vipc_MessageHandler& operator=(const Vipc_MessageHandler&) = delete;

    void AddRef();
    // The references left; the message is gone when this answers 0.
    unsigned Release();

    virtual ~Vipc_MessageHandler();
    virtual Port::String GetMessageName() const = 0;
    // Whether the frame carries the string payload.
    virtual bool HasStringPayload() const;
    // A fresh message of the same class, payloads empty, with one reference.
    virtual Vipc_MessageHandler* Create() const = 0;
    virtual void WriteStringPayload(Vipc_ConnectionStream& stream) const;
    virtual void ReadStringPayload(Vipc_ConnectionStream& stream);
    // Called before the integer payload is written, for a message that computes it late.
    virtual void PrepareIntPayload();
    virtual void WriteIntPayload(Vipc_ConnectionStream& stream) const;
    virtual void ReadIntPayload(Vipc_ConnectionStream& stream);
    // Called once the navigator's response has arrived; GetResponseStatus holds its status.
    virtual void ProcessResponse();

    // Sends this message and, unless oneWay, waits for the response; the whole exchange
    // takes at most timeoutMs (or s_blockIndefinitely). Answers the stream's status: Oversized
    // when this message was refused unsent; after anything but Ok or Oversized the
    // connection is out of step and must be dropped.
    Vipc_ConnectionStream::Status SendTheMessage(Vipc_ConnectionStream* connection, bool oneWay,
                                                 int timeoutMs);
    int GetResponseStatus() const { return responseStatus; }

    // The navigator's side: one message read from the next frame, made by the prototype of
    // its name, with one reference held by the caller; null with status set otherwise
    // (Malformed for an unknown name or fields that do not match).
    static Vipc_MessageHandler* ReceiveMessage(Vipc_ConnectionStream& stream,
                                               const std::vector<const Vipc_MessageHandler*>& known,
                                               int timeoutMs,
                                               Vipc_ConnectionStream::Status& status);
    static Vipc_ConnectionStream::Status SendResponse(Vipc_ConnectionStream& stream,
                                                      const Port::String& name, int status,
                                                      int timeoutMs);

private:
    Vipc_ConnectionStream::Status ReceiveResponse(Vipc_ConnectionStream& stream, int timeoutMs);
    void WritePayloads(Vipc_ConnectionStream& stream);
    void ReadPayloads(Vipc_ConnectionStream& stream);

    std::atomic<unsigned> references{1};
    int responseStatus = 0;
};
