#pragma once

#include "Ipu_IPComponent.h"
#include "Ipu_IPComposite.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <functional>

namespace SimC {

// The process-wide set of open designs, shared by every engine object: a design opened
// through one can be saved and closed through another. A design and its members are also
// registered in the element index for as long as the design is open. Every operation is
// guarded by one mutex; work on an open design runs under it too.
class DesignRegistry {
public:
    DesignRegistry() = delete;

    // Gives the design a fresh unique id ("<absolute file>#<n>", never reused in this
    // process), its members "<design id>/<member name>" and its chains
    // "<design id>/<chain name>", and registers the design and its members. The id, or
    // empty with nothing registered.
    static Port::String Open(const boost::shared_ptr<Ipu::IPComposite>& design);
    // Runs work on the open design under the registry's lock; false when the id is unknown.
    static bool WithDesign(const Port::String& designId,
                           const std::function<void(Ipu::IPComposite&)>& work);
    // The open design that holds the IP itself or, for an IP not yet in a design, the one
    // it is customized for: whose options name the same project and output directory as the
    // IP's own. Empty for none.
    static Port::String FindDesignOf(const Ipu::IPComponent& ip);
    // Adds the member under a fresh unique id and registers it; its id, or empty when the
    // design is unknown, or the name is empty or taken.
    static Port::String AddMember(const Port::String& designId,
                                  const boost::shared_ptr<Ipu::IPComponent>& member);
    // Forgets the design and takes it and its members out of the element index; 1 for an
    // unknown or already closed id.
    static unsigned Close(const Port::String& designId);
};

}  // namespace SimC
