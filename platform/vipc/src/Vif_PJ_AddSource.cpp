#include "Vif_PJ_AddSource.h"

namespace Vif_PJ {

AddSource::~AddSource() = default;

Port::String AddSource::GetMessageName() const
{
    return "PJ::AddSource";
}

Vipc_MessageHandler* AddSource::Create() const
{
    return new AddSource;
}

}  // namespace Vif_PJ
