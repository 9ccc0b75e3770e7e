#include "SimC_CIPEngine.h"

#include "SimC_DesignEditor.h"
#include "SimC_Migration.h"
#include "SimC_ProjectStore.h"

#include <cstring>

namespace SimC {

unsigned long CIPEngine::AddRef()
{
    return references.fetch_add(1, std::memory_order_relaxed) + 1;
}

unsigned long CIPEngine::Release()
{
    const unsigned long left = references.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) {
        delete this;
    }
    return left;
}

// The pointer handed out is the base of the asked interface, so the caller's cast from
// CitP::Interface to it lands on the right part of this object.
unsigned CIPEngine::QueryInterface(const char* interfaceId, CitP::Interface** out)
{
    if (out == nullptr) {
        return 1;
    }
    *out = nullptr;
    if (interfaceId == nullptr) {
        return 1;
    }
    if (std::strcmp(interfaceId, IRepositoryManager::IID) == 0) {
        *out = static_cast<IRepositoryManager*>(this);
    } else if (std::strcmp(interfaceId, IProjectManager::IID) == 0) {
        *out = static_cast<IProjectManager*>(this);
    } else if (std::strcmp(interfaceId, IDesignManager::IID) == 0) {
        *out = static_cast<IDesignManager*>(this);
    } else if (std::strcmp(interfaceId, IMigrationManager::IID) == 0) {
        *out = static_cast<IMigrationManager*>(this);
    } else if (std::strcmp(interfaceId, IGenerationEngine::IID) == 0) {
        *out = static_cast<IGenerationEngine*>(this);
    } else {
        return 1;
    }
    AddRef();
    return 0;
}

void CIPEngine::SetStartup(bool starting)
{
    repository.SetStartup(starting);
}

unsigned CIPEngine::RefreshAllRepositories()
{
    return repository.RefreshAll();
}

Port::String CIPEngine::CreateDesign(const Port::String& file, const Port::String& identifierKey)
{
    return ProjectStore::CreateDesign(file, identifierKey);
}

Port::String CIPEngine::OpenDesign(const Port::String& file)
{
    return ProjectStore::OpenDesign(file);
}

bool CIPEngine::SaveDesign(const Port::String& designId)
{
    return ProjectStore::SaveDesign(designId);
}

unsigned CIPEngine::CloseDesign(const Port::String& designId)
{
    return ProjectStore::CloseDesign(designId);
}

Port::String CIPEngine::AddComponent(const Port::String& designId,
                                     const Port::String& identifierKey, const Port::String& name,
                                     const Port::String& displayName,
                                     const Port::String& description)
{
    return DesignEditor::AddComponent(designId, identifierKey, name, displayName, description);
}

bool CIPEngine::Migrate(const Port::String& legacyFile, const Port::String& migrationFile,
                        const Port::String& projectIdentifier)
{
    return Migration::Migrate(legacyFile, migrationFile, projectIdentifier);
}

Port::String CIPEngine::StartGeneration(const Port::String& elementId, const Port::String& chainId)
{
    return generation.Start(elementId, chainId);
}

void CIPEngine::SetWorkerCount(unsigned count)
{
    generation.SetWorkerCount(count);
}

}  // namespace SimC
