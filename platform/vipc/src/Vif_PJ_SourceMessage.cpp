#include "Vif_PJ_SourceMessage.h"

namespace Vif_PJ {

SourceMessage::~SourceMessage() = default;

bool SourceMessage::HasStringPayload() const
{
    return true;
}

void SourceMessage::WriteStringPayload(Vipc_ConnectionStream& stream) const
{
    stream << path;
}

void SourceMessage::ReadStringPayload(Vipc_ConnectionStream& stream)
{
    stream >> path;
}

void SourceMessage::PrepareIntPayload() {}

void SourceMessage::WriteIntPayload(Vipc_ConnectionStream& stream) const
{
    stream << value;
}

void SourceMessage::ReadIntPayload(Vipc_ConnectionStream& stream)
{
    stream >> value;
}

}  // namespace Vif_PJ
