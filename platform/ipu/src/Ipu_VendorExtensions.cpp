#include "Ipu_VendorExtensions.h"

#include "Ipu_ProjectOptions.h"

namespace Ipu {

VendorExtensions::VendorExtensions() = default;

VendorExtensions::VendorExtensions(const VendorExtensions& other)
    : projectOptions(other.projectOptions ? boost::shared_ptr<ProjectOptions>(
                                                new ProjectOptions(*other.projectOptions))
                                          : boost::shared_ptr<ProjectOptions>())
{
}

VendorExtensions& VendorExtensions::operator=(const VendorExtensions& other)
{
    if (this != &other) {
        VendorExtensions copy(other);
        projectOptions.swap(copy.projectOptions);
    }
    return *this;
}

VendorExtensions::~VendorExtensions() = default;

unsigned VendorExtensions::GetProjectOptions(ProjectOptions& out) const
{
    if (!projectOptions) {
        return 1;
    }
    out = *projectOptions;
    return 0;
}

unsigned VendorExtensions::SetProjectOptions(const ProjectOptions& options)
{
    projectOptions.reset(new ProjectOptions(options));
    return 0;
}

}  // namespace Ipu
