#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_Task.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>

namespace Ipu {

class LegacyIP;

// A light handle on an IP component, as catalogue lists hand them out. Copies share the
// component; the handle never changes it. To make a new configuration of a catalogue IP,
// build an IP over a copy: IP(component->Clone()).
class IP {
public:
    // Which tool customizes the IP.
    enum IPType : std::int32_t {
        WIZARD_IP = 0,  // the sibling wizard Sylvane
        CORE_IP = 1,
    };

    IP() = default;
    explicit IP(boost::shared_ptr<IPComponent> component);
    // Over a new component made from the legacy description (LegacyIP::CreateComponent).
    explicit IP(const LegacyIP& legacy);
    virtual ~IP();

    boost::shared_ptr<IPComponent> GetIPComponent() const { return component; }

    // Each answers 1 (out untouched) without a component.
    unsigned GetIPType(IPType& out) const;
    // Also 1 when the name is empty.
    unsigned GetName(Port::String& out) const;
    // The data-sheet path; with resolve true, a relative path is made absolute against the
    // directory of the component's catalogue file. Also 1 when the component has no data
    // sheet (empty or "<empty>").
    unsigned GetDataSheet(Port::String& path, bool resolve) const;
    // The task of the chain of that name (ignoring case), whatever the chain's properties;
    // also 1 when there is no such chain.
    unsigned GetTask(const Port::String& name, Task& out) const;

private:
    boost::shared_ptr<IPComponent> component;
};

}  // namespace Ipu
