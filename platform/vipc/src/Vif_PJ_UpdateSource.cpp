#include "Vif_PJ_UpdateSource.h"

namespace Vif_PJ {

UpdateSource::~UpdateSource() = default;

Port::String UpdateSource::GetMessageName() const
{
    return "PJ::UpdateSource";
}

Vipc_MessageHandler* UpdateSource::Create() const
{
    return new UpdateSource;
}

}  // namespace Vif_PJ
