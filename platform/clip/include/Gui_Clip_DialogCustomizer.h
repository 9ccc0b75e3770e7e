#pragma once

#include "Sim_Customizer.h"

#include <QtGlobal>

namespace Gui {
namespace Clip {

// The customizer of a host with a screen: asks with a modal ParameterDialog. The dialog
// always runs on the GUI thread; a caller on another thread blocks until it is closed, so
// the GUI thread must not itself be waiting for that caller.
class DialogCustomizer final : public Sim::Customizer {
public:
    DialogCustomizer() = default;
    Q_DISABLE_COPY(DialogCustomizer)

    bool Customize(Ipu::IPComponent& component, const Ipu::ProjectOptions& options,
                   const std::vector<Port::String>& takenNames) override;
};

}  // namespace Clip
}  // namespace Gui
