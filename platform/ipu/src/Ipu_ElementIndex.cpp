#include "Ipu_ElementIndex.h"

#include <map>
#include <mutex>

namespace Ipu {

namespace {

struct Index {
    std::mutex mutex;
    std::map<Port::String, boost::shared_ptr<Element>> elements;
};

// Built on first use, never destroyed: elements may be looked up while other libraries
// unload at exit, after function-local statics would have been torn down.
Index& TheIndex()
{
    static Index* index = new Index;
    return *index;
}

}  // namespace

unsigned ElementIndex::AddElement(boost::shared_ptr<Element> element)
{
    if (!element) {
        return 1;
    }
    const Port::String id = element->GetUniqueID();
    if (id.IsEmpty()) {
        return 1;
    }
    Index& index = TheIndex();
    std::lock_guard<std::mutex> lock(index.mutex);
    return index.elements.emplace(id, std::move(element)).second ? 0 : 1;
}

bool ElementIndex::HasElement(const Port::String& uniqueID)
{
    Index& index = TheIndex();
    std::lock_guard<std::mutex> lock(index.mutex);
    return index.elements.count(uniqueID) != 0;
}

boost::shared_ptr<Element> ElementIndex::GetElement(const Port::String& uniqueID)
{
    Index& index = TheIndex();
    std::lock_guard<std::mutex> lock(index.mutex);
    auto it = index.elements.find(uniqueID);
    return it == index.elements.end() ? boost::shared_ptr<Element>() : it->second;
}

unsigned ElementIndex::RemoveElement(const Port::String& uniqueID)
{
    boost::shared_ptr<Element> removed;  // released after the lock, in case its destructor
                                         // reaches the index again
    Index& index = TheIndex();
    std::lock_guard<std::mutex> lock(index.mutex);
    auto it = index.elements.find(uniqueID);
    if (it == index.elements.end()) {
        return 1;
    }
    removed = it->second;
    index.elements.erase(it);
    return 0;
}

void ElementIndex::Clear()
{
    std::map<Port::String, boost::shared_ptr<Element>> removed;
    Index& index = TheIndex();
    {
        std::lock_guard<std::mutex> lock(index.mutex);
        removed.swap(index.elements);
    }
}

std::size_t ElementIndex::Count()
{
    Index& index = TheIndex();
    std::lock_guard<std::mutex> lock(index.mutex);
    return index.elements.size();
}

std::vector<boost::shared_ptr<Element>> ElementIndex::GetElements()
{
    Index& index = TheIndex();
    std::lock_guard<std::mutex> lock(index.mutex);
    std::vector<boost::shared_ptr<Element>> snapshot;
    snapshot.reserve(index.elements.size());
    for (const auto& entry : index.elements) {
        snapshot.push_back(entry.second);
    }
    return snapshot;
}

}  // namespace Ipu
