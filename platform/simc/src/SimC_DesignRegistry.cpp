#include "SimC_DesignRegistry.h"

#include "Ipu_ElementIndex.h"
#include "Ipu_ProjectOptions.h"

#include <atomic>
#include <map>
#include <mutex>
#include <vector>

namespace SimC {

namespace {

using Designs = std::map<Port::String, boost::shared_ptr<Ipu::IPComposite>>;

std::mutex& RegistryMutex()
{
    static std::mutex mutex;
    return mutex;
}

Designs& OpenDesigns()
{
    static Designs designs;
    return designs;
}

Port::String FreshDesignID(const Ipu::IPComposite& design)
{
    static std::atomic<unsigned long long> counter{0};
    Port::String id;
    id.Format("%s#%llu", design.GetProjectFileName().GetAbsolutePath().c_str(), ++counter);
    return id;
}

Port::String MemberID(const Port::String& designId, const Ipu::IPBase& member)
{
    return designId + "/" + member.GetName();
}

// Removes the id from the index only while it still names this very element.
void Unregister(const boost::shared_ptr<Ipu::Element>& element)
{
    const Port::String id = element->GetUniqueID();
    if (Ipu::ElementIndex::GetElement(id) == element) {
        Ipu::ElementIndex::RemoveElement(id);
    }
}

void UnregisterAll(const Ipu::IPComposite& design, const boost::shared_ptr<Ipu::IPComposite>& self)
{
    for (const auto& member : design.GetElements()) {
        Unregister(member);
    }
    Unregister(self);
}

bool SameProject(const Ipu::ProjectOptions& a, const Ipu::ProjectOptions& b)
{
    Port::String nameA, nameB, outputA, outputB;
    a.GetProjectName(nameA);
    b.GetProjectName(nameB);
    a.GetOutputDirectory(outputA);
    b.GetOutputDirectory(outputB);
    return nameA == nameB && outputA == outputB;
}

}  // namespace

Port::String DesignRegistry::Open(const boost::shared_ptr<Ipu::IPComposite>& design)
{
    if (!design) {
        return Port::String();
    }
    std::lock_guard<std::mutex> lock(RegistryMutex());
    const Port::String id = FreshDesignID(*design);
    design->SetUniqueID(id);
    for (const auto& chain : design->GetGeneratorChains()) {
        chain->SetUniqueID(id + "/" + chain->GetName());
    }
    bool registered = Ipu::ElementIndex::AddElement(design) == 0;
    for (const auto& member : design->GetElements()) {
        member->SetUniqueID(MemberID(id, *member));
        registered = registered && Ipu::ElementIndex::AddElement(member) == 0;
    }
    if (!registered) {
        UnregisterAll(*design, design);
        return Port::String();
    }
    OpenDesigns().emplace(id, design);
    return id;
}

bool DesignRegistry::WithDesign(const Port::String& designId,
                                const std::function<void(Ipu::IPComposite&)>& work)
{
    std::lock_guard<std::mutex> lock(RegistryMutex());
    const auto found = OpenDesigns().find(designId);
    if (found == OpenDesigns().end()) {
        return false;
    }
    work(*found->second);
    return true;
}

Port::String DesignRegistry::FindDesignOf(const Ipu::IPComponent& ip)
{
    std::lock_guard<std::mutex> lock(RegistryMutex());
    for (const auto& open : OpenDesigns()) {
        for (const auto& member : open.second->GetElements()) {
            if (member.get() == &ip) {
                return open.first;
            }
        }
    }
    Ipu::ProjectOptions own;
    if (ip.GetProjectOptions(own) != 0) {
        return Port::String();
    }
    for (const auto& open : OpenDesigns()) {
        Ipu::ProjectOptions options;
        if (open.second->GetProjectOptions(options) == 0 && SameProject(options, own)) {
            return open.first;
        }
    }
    return Port::String();
}

Port::String DesignRegistry::AddMember(const Port::String& designId,
                                       const boost::shared_ptr<Ipu::IPComponent>& member)
{
    std::lock_guard<std::mutex> lock(RegistryMutex());
    const auto found = OpenDesigns().find(designId);
    if (!member || found == OpenDesigns().end()) {
        return Port::String();
    }
    Ipu::IPComposite& design = *found->second;
    member->SetUniqueID(MemberID(designId, *member));
    if (design.AddElement(member) != 0) {
        return Port::String();
    }
    if (Ipu::ElementIndex::AddElement(member) != 0) {
        design.RemoveElement(member->GetUniqueID());
        return Port::String();
    }
    return member->GetUniqueID();
}

unsigned DesignRegistry::Close(const Port::String& designId)
{
    std::lock_guard<std::mutex> lock(RegistryMutex());
    const auto found = OpenDesigns().find(designId);
    if (found == OpenDesigns().end()) {
        return 1;
    }
    UnregisterAll(*found->second, found->second);
    OpenDesigns().erase(found);
    return 0;
}

}  // namespace SimC
