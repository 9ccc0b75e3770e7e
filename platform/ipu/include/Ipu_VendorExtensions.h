#pragma once

#include <boost/shared_ptr.hpp>

namespace Ipu {

class ProjectOptions;

// What our vendor extensions add to an element: its own project options (a customized IP
// remembers the options it was made with, a design holds the project's options), and the
// names of the chain properties that the catalogue carries. Named properties themselves
// live on Element.
class VendorExtensions {
public:
    // Chain property: which IPs a chain is offered for; values Task::ANY_IP,
    // Task::CUSTOMIZED_IP, Task::UNCUSTOMIZED_IP.
    static constexpr const char* CHAIN_IPTYPE = "ipType";
    // Chain property: values Task::FAMILY_DEPENDENT, Task::FAMILY_NOT_DEPENDENT.
    static constexpr const char* CHAIN_FAMILYDEPENDENT = "familyDependent";
    // Chain property: "true" (any letter case) marks the chain whose task is the default
    // for the IP types that its CHAIN_IPTYPE accepts.
    static constexpr const char* CHAIN_DEFAULT = "default";
    // Chain property: "1" hides the chain's task from the action lists; "0" (the default)
    // shows it.
    static constexpr const char* CHAIN_VISIBILITY = "visibility";

    VendorExtensions();
    // Copies take their own copy of the options.
    VendorExtensions(const VendorExtensions& other);
    VendorExtensions& operator=(const VendorExtensions& other);
    virtual ~VendorExtensions();

    // 1 (out untouched) when no options were stored.
    unsigned GetProjectOptions(ProjectOptions& out) const;
    unsigned SetProjectOptions(const ProjectOptions& options);
    bool HasProjectOptions() const { return static_cast<bool>(projectOptions); }
    void ClearProjectOptions() { projectOptions.reset(); }

private:
    boost::shared_ptr<ProjectOptions> projectOptions;
};

}  // namespace Ipu
