#include "Vif_PJ_UpdateSource.h"

namespace Vif_PJ {

UpdateSource::~UpdateSource() = default;

Port::String UpdateSource::GetMessageName() const
{
    return "PJ::UpdateSource";
}

bool UpdateSource::HasStringPayload() const
{
    return true;
}

Vipc_MessageHandler* UpdateSource::Create() const
{
    return new UpdateSource;
}

void UpdateSource::WriteStringPayload(Vipc_ConnectionStream& stream) const
{
    stream << path;
}

void UpdateSource::ReadStringPayload(Vipc_ConnectionStream& stream)
{
    stream >> path;
}

void UpdateSource::PrepareIntPayload() {}

void UpdateSource::WriteIntPayload(Vipc_ConnectionStream& stream) const
{
    stream << value;
}

void UpdateSource::ReadIntPayload(Vipc_ConnectionStream& stream)
{
    stream >> value;
}

}  // namespace Vif_PJ
