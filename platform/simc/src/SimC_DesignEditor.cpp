#include "SimC_DesignEditor.h"

#include "SimC_DesignFactory.h"
#include "SimC_DesignRegistry.h"

namespace SimC {

Port::String DesignEditor::AddComponent(const Port::String& designId,
                                        const Port::String& identifierKey, const Port::String& name,
                                        const Port::String& displayName,
                                        const Port::String& description)
{
    const auto member = DesignFactory::NewMember(identifierKey);
    if (!member || name.IsEmpty()) {
        return Port::String();
    }
    member->SetName(name);
    member->SetDisplayName(displayName);
    member->SetDescription(description);
    return DesignRegistry::AddMember(designId, member);
}

}  // namespace SimC
