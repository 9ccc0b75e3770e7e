#pragma once

#include <exception>

#include "Port_StringBase.h"

namespace Ipu {

// The one exception the model throws; callers catch it at the edge of an operation and turn
// its message into a user message.
class AppException : public std::exception {
public:
    explicit AppException(const Port::String& message) : message(message) {}
    // Out of line so the type's identity lives in this library alone and a catch in another
    // library matches it.
    ~AppException() override;

    const char* what() const noexcept override { return message.c_str(); }
    const Port::String& GetMessage() const { return message; }

private:
    Port::String message;
};

}  // namespace Ipu
