#include "Vif_PJ_AddSource.h"

namespace Vif_PJ {

AddSource::~AddSource() = default;

Port::String AddSource::GetMessageName() const
{
    return "PJ::AddSource";
}

bool AddSource::HasStringPayload() const
{
    return true;
}

Vipc_MessageHandler* AddSource::Create() const
{
    return new AddSource;
}

void AddSource::WriteStringPayload(Vipc_ConnectionStream& stream) const
{
    stream << path;
}

void AddSource::ReadStringPayload(Vipc_ConnectionStream& stream)
{
    stream >> path;
}

void AddSource::PrepareIntPayload() {}

void AddSource::WriteIntPayload(Vipc_ConnectionStream& stream) const
{
    stream << value;
}

void AddSource::ReadIntPayload(Vipc_ConnectionStream& stream)
{
    stream >> value;
}

}  // namespace Vif_PJ
