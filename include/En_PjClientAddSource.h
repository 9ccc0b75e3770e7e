#pragma once

#include "Vif_PJ_AddSource.h"

namespace En {

// The client's "PJ::AddSource": the navigator's response needs no action.
class PjClientAddSource : public Vif_PJ::AddSource {
public:
    PjClientAddSource() = default;

    Vipc_MessageHandler* Create() const override;
    void ProcessResponse() override;
};

}  // namespace En
