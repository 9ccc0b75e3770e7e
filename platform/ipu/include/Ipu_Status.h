#pragma once

#include "Port_StringBase.h"

namespace Ipu {

// The outcome of a task or of one of its steps: a numeric code (0 success) and a message.
class Status {
public:
    Status() = default;
    explicit Status(unsigned code, const Port::String& message = Port::String())
        : code(code), message(message)
    {
    }

    unsigned GetCode() const { return code; }
    void SetCode(unsigned value) { code = value; }
    Port::String GetMessage() const { return message; }
    void SetMessage(const Port::String& value) { message = value; }
    bool IsSuccess() const { return code == 0; }

private:
    unsigned code = 0;
    Port::String message;
};

}  // namespace Ipu
