#pragma once

#include "Port_StringBase.h"
#include "Vipc_MessageHandler.h"

namespace Vif_PJ {

// "PJ::AddSource": the engine added the source file at the path.
class AddSource : public Vipc_MessageHandler {
public:
    AddSource() = default;

    ~AddSource() override;
    Port::String GetMessageName() const override;
    bool HasStringPayload() const override;
    Vipc_MessageHandler* Create() const override;
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
