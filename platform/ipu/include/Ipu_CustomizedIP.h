#pragma once

#include "Ipu_IP.h"
#include "Ipu_IPComponent.h"
#include "Ipu_Parameters.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <cstdint>

namespace Ipu {

class ProjectOptions;

// A handle on a customized configuration of an IP. Copies share the component. Every
// setter answers 1 when the handle has no component.
class CustomizedIP {
public:
    CustomizedIP() = default;
    // Shares the component as it is (no copy, no registration).
    explicit CustomizedIP(boost::shared_ptr<IPComponent> component);
    virtual ~CustomizedIP();

    boost::shared_ptr<IPComponent> GetIPComponent() const { return component; }

    // Takes the IP as this handle's configuration. An uncustomized component (a catalogue
    // entry, or a copy of one) is copied and the copy gets a fresh unique id
    // ("<unconfigured id>#<n>"), so the catalogue entry is never changed. The resulting
    // component is registered in the ElementIndex (under a fresh id if its own is taken by
    // another element), so that the engine can find it. 1 when ip has no component.
    unsigned SetIP(const IP& ip);
    // Sets the value of each given parameter on the component's parameter of the same name
    // (ignoring case), keeping the catalogue's constraints; parameters the component does
    // not have are appended whole.
    unsigned SetParameters(const Parameters& parameters);
    unsigned GetParameters(Parameters& out) const;
    unsigned SetProjectOptions(const ProjectOptions& options);
    unsigned GetProjectOptions(ProjectOptions& out) const;
    // The change time, seconds since the epoch.
    unsigned SetTime(std::int64_t time);
    unsigned SetFileModifiedByUser(bool modified);
    unsigned SetName(const Port::String& name);

private:
    boost::shared_ptr<IPComponent> component;
};

}  // namespace Ipu
