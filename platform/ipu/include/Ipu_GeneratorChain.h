#pragma once

#include "Ipu_Generator.h"
#include "Ipu_GeneratorBase.h"

#include <boost/shared_ptr.hpp>

#include <vector>

namespace Ipu {

// A task an IP or a design offers, as the engine runs it: an ordered list of generators.
// Its element name is its task name (Task::GENERATE, ...); its groups say what kind of
// run it is; its properties (VendorExtensions::CHAIN_IPTYPE, CHAIN_FAMILYDEPENDENT,
// CHAIN_DEFAULT) say for which IPs it is offered. Its unique id names it for the engine
// and the action caches: "<owner's key>/<chain name>" by convention.
class GeneratorChain : public GeneratorBase {
public:
    static constexpr const char* GENERATE_ORIGINAL_CHAINGROUP = "generate_original";
    static constexpr const char* CUSTOMIZE_ORIGINAL_CHAINGROUP = "customize_original";
    static constexpr const char* CUSTOMIZE_AND_GENERATE_ORIGINAL_CHAINGROUP =
        "customize_and_generate_original";
    static constexpr const char* CUSTOMIZE_AND_GENERATE_ORIGINAL_TVR_CHAINGROUP =
        "customize_and_generate_original_tvr";
    static constexpr const char* GENERATE_CURRENT_CHAINGROUP = "generate_current";
    static constexpr const char* CUSTOMIZE_CURRENT_CHAINGROUP = "customize_current";
    static constexpr const char* CUSTOMIZE_AND_GENERATE_CURRENT_CHAINGROUP =
        "customize_and_generate_current";
    static constexpr const char* UPGRADE_CHAINGROUP = "upgrade";
    static constexpr const char* UPGRADE_AND_REGENERATE_CHAINGROUP = "upgrade_and_regenerate";
    static constexpr const char* SELECT_UPGRADE_AND_REGENERATE_CHAINGROUP =
        "select_upgrade_and_regenerate";
    // The chain that delivers a customized IP's .gtc file unchanged.
    static constexpr const char* IP_GTC_CHAINGROUP = "ip_gtc";

    GeneratorChain() = default;
    ~GeneratorChain() override;

    // An empty pointer is ignored.
    void AddGenerator(boost::shared_ptr<Generator> generator);
    // Generators by ascending phase; equal phases keep the order they were added in.
    std::vector<boost::shared_ptr<Generator>> GetOrderedGenerators() const;

private:
    std::vector<boost::shared_ptr<Generator>> generators;
};

}  // namespace Ipu
