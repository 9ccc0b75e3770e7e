#pragma once

#include "SimC_GenerationEngine.h"
#include "SimC_IDesignManager.h"
#include "SimC_IGenerationEngine.h"
#include "SimC_IMigrationManager.h"
#include "SimC_IProjectManager.h"
#include "SimC_IRepositoryManager.h"
#include "SimC_Repository.h"

#include <atomic>

namespace SimC {

// The IP engine component: one reference-counted object offering the repository, project,
// design and migration interfaces. It only dispatches; the work is done by Repository,
// ProjectStore, DesignEditor, Migration and
// GenerationEngine. Made with one reference held by its creator; deletes
// itself when the last one is released.
class CIPEngine final : public IRepositoryManager,
                        public IProjectManager,
                        public IDesignManager,
                        public IMigrationManager,
                        public IGenerationEngine {
public:
    CIPEngine() = default;
    CIPEngine(const CIPEngine&) = delete;
    CIPEngine& operator=(const CIPEngine&) = delete;

    unsigned long AddRef() override;
    unsigned long Release() override;
    unsigned QueryInterface(const char* interfaceId, CitP::Interface** out) override;

    void SetStartup(bool starting) override;
    unsigned RefreshAllRepositories() override;

    Port::String CreateDesign(const Port::String& file, const Port::String& identifierKey) override;
    Port::String OpenDesign(const Port::String& file) override;
    bool SaveDesign(const Port::String& designId) override;
    unsigned CloseDesign(const Port::String& designId) override;

    Port::String AddComponent(const Port::String& designId, const Port::String& identifierKey,
                              const Port::String& name, const Port::String& displayName,
                              const Port::String& description) override;

    bool Migrate(const Port::String& legacyFile, const Port::String& migrationFile,
                 const Port::String& projectIdentifier) override;

    Port::String StartGeneration(const Port::String& elementId,
                                 const Port::String& chainId) override;
    void SetWorkerCount(unsigned count) override;

private:
    ~CIPEngine() override = default;

    std::atomic<unsigned long> references{1};
    Repository repository;
    // Last, so that it is destroyed first: its destructor waits for the runs under way.
    GenerationEngine generation;
};

}  // namespace SimC
