#pragma once

#include <boost/shared_ptr.hpp>
#include <vector>

namespace Ipu {
class Filter;
class IP;
class ProjectOptions;
class RuntimeOptions;
}  // namespace Ipu

namespace Sim {

// The engine's answers about the catalogue for a project.
class API {
public:
    // The catalogue IPs usable with the options (valid for their part, not removed for
    // its family) that the filter lets through, ordered by key. 0 on success; 1 when the
    // options name no defined part or the catalogue is empty.
    unsigned GetIPList(const Ipu::RuntimeOptions& runtime, const Ipu::ProjectOptions& options,
                       const Ipu::Filter& filter, std::vector<boost::shared_ptr<Ipu::IP>>& out);
};

}  // namespace Sim
