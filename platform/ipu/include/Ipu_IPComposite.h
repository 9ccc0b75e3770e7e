#pragma once

#include "Ipu_GeneratorChainList.h"
#include "Ipu_IPBase.h"
#include "Port_FileName.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <vector>

namespace Ipu {

// A design: its member IPs (customized components and nested designs) in order, the
// project file, the project's chains, and (through VendorExtensions) the project options.
// Members are keyed by their element name, which is unique within the design.
//
// Plain fields without locking: one thread at a time.
class IPComposite : public IPBase {
public:
    IPComposite() = default;
    ~IPComposite() override;

    // 1 (nothing added) for an empty pointer, an empty name or a name already used.
    unsigned AddElement(boost::shared_ptr<IPBase> element);
    // Members are looked up by unique id, then by name, then by alias, each exactly; the
    // first match wins.
    bool HasElement(const Port::String& key) const;
    // Throws AppException "Cannot find element <key>\n" when nothing matches.
    boost::shared_ptr<IPBase> GetElement(const Port::String& key) const;
    // An empty pointer when nothing matches.
    boost::shared_ptr<IPBase> FindElement(const Port::String& key) const;
    // Removes the member found as by FindElement; 1 when nothing matches.
    unsigned RemoveElement(const Port::String& key);
    const std::vector<boost::shared_ptr<IPBase>>& GetElements() const { return elements; }
    std::size_t CountElements() const { return elements.size(); }

    Port::FileName GetProjectFileName() const { return projectFileName; }
    void SetProjectFileName(const Port::FileName& value) { projectFileName = value; }

    GeneratorChainList& GetGeneratorChains() { return chains; }
    const GeneratorChainList& GetGeneratorChains() const { return chains; }

private:
    std::vector<boost::shared_ptr<IPBase>> elements;
    Port::FileName projectFileName;
    GeneratorChainList chains;
};

}  // namespace Ipu
