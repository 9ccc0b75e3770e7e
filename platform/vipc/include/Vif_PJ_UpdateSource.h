#pragma once

#include "Vif_PJ_SourceMessage.h"

namespace Vif_PJ {

// "PJ::UpdateSource": the engine updated the source file at the path.
class UpdateSource : public SourceMessage {
public:
    UpdateSource() = default;

    ~UpdateSource() override;
    Port::String GetMessageName() const override;
    Vipc_MessageHandler* Create() const override;
};

}  // namespace Vif_PJ
