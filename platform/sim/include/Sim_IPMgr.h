#pragma once

#include <boost/shared_ptr.hpp>

#include "Ipu_PelPart.h"

namespace Ipu {
class IP;
class ProjectOptions;
}  // namespace Ipu

namespace Sim {

// The engine's IP manager: the device-family cache and what depends on the catalogue and
// a part. Process-wide; safe while one thread refreshes and others ask.
class IPMgr {
public:
    static IPMgr* GetInstance();

    // Reloads the device families (the device database) into the cache.
    unsigned RefreshFamilyCache();
    // Marks, among the catalogue IPs valid for the options' part, the newest version of
    // each vendor, library and name as the latest (the catalogue-wide mark when the part
    // is not defined).
    unsigned ResolveLatestIP(const Ipu::ProjectOptions& options);
    // Every part of the device database whose family the IP supports (every part for a
    // family-independent IP), in database order; 1 without a component.
    unsigned GetCompatibleParts(const Ipu::IP& ip, Ipu::PelPartList& parts);

private:
    IPMgr() = default;
};

}  // namespace Sim
