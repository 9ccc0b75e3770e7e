#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Ipu_ProjectOptions.h"
#include "Ipu_VersionedIdentifier.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

namespace SimC {

// Makes designs and their members as the engine hands them out, before they get their
// unique ids (DesignRegistry gives those).
class DesignFactory {
public:
    DesignFactory() = delete;

    // A design for the project file (made absolute) with the identifier: named after the
    // file's base, holding the project chains, without project options or members.
    static boost::shared_ptr<Ipu::IPComposite> NewDesign(
        const Port::String& file, const Ipu::VersionedIdentifier& identifier);
    // Options of a new design: the device database's default part (left empty when the
    // database has none), the file's base as project name, its directory as output directory.
    static Ipu::ProjectOptions DefaultOptions(const Port::String& file);
    // A member customizing the catalogue IP identifierKey: a copy of the catalogue entry
    // that keeps the key as its unconfigured id, or a bare component with that identifier
    // when the catalogue lacks it. Empty when the key is not "vendor:library:name:version".
    static boost::shared_ptr<Ipu::IPComponent> NewMember(const Port::String& identifierKey);
    // Every design offers the whole-project tasks through these chains, so that a project's
    // task list can show them (whether it does depends on its members).
    static void AddProjectChains(Ipu::IPComposite& design);
};

}  // namespace SimC
