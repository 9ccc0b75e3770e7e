#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_ProjectOptions.h"
#include "Port_StringBase.h"

#include <memory>
#include <vector>

namespace Sim {

// Asks the user for the values of an IP being customized. The host registers one when it
// has a screen; without one (batch, polling, tests) the engine customizes with the values
// the component already holds (the catalogue's defaults or those the commands set).
class Customizer {
public:
    virtual ~Customizer();

    // Called on an engine worker thread. Shows component's name and parameters, and on
    // acceptance writes the chosen name (SetName) and values into component and answers
    // true; false when the user cancelled, component untouched. takenNames are the names
    // of the design's other IPs, which the component may not take.
    virtual bool Customize(Ipu::IPComponent& component, const Ipu::ProjectOptions& options,
                           const std::vector<Port::String>& takenNames) = 0;

    // The registered customizer, or null. Thread-safe; the engine holds the returned
    // pointer for the length of one call, so unregistering never pulls it away mid-call.
    static std::shared_ptr<Customizer> Current();
    // Registers customizer (null unregisters).
    static void SetCurrent(std::shared_ptr<Customizer> customizer);
};

}  // namespace Sim
