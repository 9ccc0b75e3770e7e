#pragma once

#include "Port_StringBase.h"
#include "Vipc_MessageHandler.h"

namespace Vif_PJ {

// What the navigator's two source messages share: a source file's path as the string
// payload and one integer payload. Each message names itself and makes its own kind.
class SourceMessage : public Vipc_MessageHandler {
public:
    ~SourceMessage() override;
    bool HasStringPayload() const override;
    void WriteStringPayload(Vipc_ConnectionStream& stream) const override;
    void ReadStringPayload(Vipc_ConnectionStream& stream) override;
    void PrepareIntPayload() override;
    void WriteIntPayload(Vipc_ConnectionStream& stream) const override;
    void ReadIntPayload(Vipc_ConnectionStream& stream) override;

    const Port::String& GetPath() const { return path; }
    void SetPath(const Port::String& value) { path = value; }
    int GetValue() const { return value; }
    void SetValue(int number) { value = number; }

private:
    Port::String path;
    int value = 0;
};

}  // namespace Vif_PJ
