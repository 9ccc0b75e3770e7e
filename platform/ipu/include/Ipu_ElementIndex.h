#pragma once

#include "Ipu_Element.h"
#include "Port_StringBase.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <vector>

namespace Ipu {

// The one process-wide index of elements by unique id: catalogue IPs, customized IPs,
// designs. Every operation is static and guarded by one mutex, so any thread may call it.
// The index shares ownership of what it holds; an element stays alive at least until it
// is removed or the index is cleared.
class ElementIndex {
public:
    ElementIndex() = delete;

    // 1 when the pointer is empty, its unique id is empty, or the id is already taken.
    static unsigned AddElement(boost::shared_ptr<Element> element);
    static bool HasElement(const Port::String& uniqueID);
    // An empty pointer when absent.
    static boost::shared_ptr<Element> GetElement(const Port::String& uniqueID);
    // 1 when absent.
    static unsigned RemoveElement(const Port::String& uniqueID);
    static void Clear();
    static std::size_t Count();
    // A snapshot of every element, ordered by unique id (byte-wise). Later changes to the
    // index do not touch the returned list.
    static std::vector<boost::shared_ptr<Element>> GetElements();
};

}  // namespace Ipu
