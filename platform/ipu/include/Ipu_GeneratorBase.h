#pragma once

#include "Ipu_Element.h"
#include "Ipu_VersionedIdentifier.h"
#include "Port_StringBase.h"

#include <vector>

namespace Ipu {

// What chains and generators share: an element (name, display name, unique id,
// properties) with a versioned identifier and a set of group names.
//
// The element name and the identifier's name differ: a chain named "generate" may be
// identified as pellor:generatorchains:generate_current_chain:1.0. Unqualified GetName and
// SetName are the element's; use GetIdentifier() for the identifier's.
class GeneratorBase : public Element, public VersionedIdentifier {
public:
    using Element::GetName;
    using Element::SetName;

    GeneratorBase() = default;
    ~GeneratorBase() override;

    const VersionedIdentifier& GetIdentifier() const { return *this; }
    void SetIdentifier(const VersionedIdentifier& identifier);

    // Groups compare ignoring letter case.
    bool HasGroup(const Port::String& group) const;
    // Adding a group already present does nothing.
    void AddGroup(const Port::String& group);
    const std::vector<Port::String>& GetGroups() const { return groups; }

private:
    std::vector<Port::String> groups;
};

}  // namespace Ipu
