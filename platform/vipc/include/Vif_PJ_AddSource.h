#pragma once

#include "Vif_PJ_SourceMessage.h"

namespace Vif_PJ {

// "PJ::AddSource": the engine added the source file at the path.
class AddSource : public SourceMessage {
public:
    AddSource() = default;

    ~AddSource() override;
    Port::String GetMessageName() const override;
    Vipc_MessageHandler* Create() const override;
};

}  // namespace Vif_PJ
