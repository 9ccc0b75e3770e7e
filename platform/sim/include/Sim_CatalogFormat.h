#pragma once

#include "Ipu_GeneratorChain.h"
#include "Ipu_IPComponent.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>

namespace Sim {

// The names of the catalogue format (docs/catalog-format.md) that the reader, the loader
// and the engine share, and the chain set of a component that brings no chains of its own.
class CatalogFormat {
public:
    CatalogFormat() = delete;

    // ---- IP-XACT namespaces of a component's root element ----
    static constexpr const char* IPXACT_2009_NAMESPACE =
        "http://www.spiritconsortium.org/XMLSchema/SPIRIT/1685-2009";
    static constexpr const char* IPXACT_2014_NAMESPACE =
        "http://www.accellera.org/XMLSchema/IPXACT/1685-2014";
    static constexpr const char* IPXACT_2022_NAMESPACE =
        "http://www.accellera.org/XMLSchema/IPXACT/1685-2022";
    // ---- Our vendor extensions ----
    static constexpr const char* EXTENSION_NAMESPACE = "urn:pellor:gantrel:ipxact-extensions:1.0";

    // IP property: where the IP sits in the catalogue tree.
    static constexpr const char* PROPERTY_TAXONOMY = "taxonomy";

    // ---- Generator kinds (Ipu::Generator::GetExecutable) ----
    static constexpr const char* GENERATOR_VALIDATE = "validate";
    static constexpr const char* GENERATOR_WRITE_HDL = "write-hdl";
    static constexpr const char* GENERATOR_WRITE_TEMPLATE = "write-template";
    static constexpr const char* GENERATOR_WRITE_GTC = "write-gtc";
    static constexpr const char* GENERATOR_WRITE_ASY = "write-asy";
    static constexpr const char* GENERATOR_WRITE_FLIST = "write-flist";
    static constexpr const char* GENERATOR_MOVE_OUT = "move-out";
    static constexpr const char* GENERATOR_OPEN_DATASHEET = "open-datasheet";
    static constexpr const char* GENERATOR_RUN_WIZARD = "run-wizard";
    static constexpr const char* GENERATOR_UPGRADE_LATEST = "upgrade-latest";
    static constexpr const char* GENERATOR_UPGRADE_SELECTED = "upgrade-selected";
    // The resource-utilization report: written with the products, then shown.
    static constexpr const char* GENERATOR_WRITE_RESOURCES = "write-resources";
    static constexpr const char* GENERATOR_OPEN_REPORT = "open-report";

    // ---- Identifier names of the default chain set (GENERATE uses
    // Ipu::Keyword::GENERATE_CURRENT_CHAIN) ----
    static constexpr const char* CUSTOMIZE_CHAIN = "customize_chain";
    static constexpr const char* VIEW_DATASHEET_CHAIN = "view_datasheet_chain";

    // Catalogue files above this size are not read.
    static constexpr std::size_t MAX_FILE_SIZE = 16u * 1024u * 1024u;

    static bool IsGeneratorKind(const Port::String& kind);

    // A chain named after its task (in lower case) with this identifier; the unique id is
    // set by SetChainIDs once the owner's key is known.
    static boost::shared_ptr<Ipu::GeneratorChain> NewChain(const Port::String& task,
                                                           const Ipu::VersionedIdentifier& id);
    // Unique ids "<owner key>/<task>" for the chains. Steps have none: the chains of one IP
    // share their identical steps.
    static void SetChainIDs(Ipu::IPComponent& component);
    // Customize, generate and view data sheet, as the format document lists them.
    static void AddDefaultChains(Ipu::IPComponent& component);
};

}  // namespace Sim
