#pragma once

#include "Vif_PJ_UpdateSource.h"

namespace En {

// The client's "PJ::UpdateSource": the navigator's response needs no action.
class PjClientUpdateSource : public Vif_PJ::UpdateSource {
public:
    PjClientUpdateSource() = default;

    Vipc_MessageHandler* Create() const override;
    void ProcessResponse() override;
};

}  // namespace En
