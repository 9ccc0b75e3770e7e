#pragma once

#include "CitP_Interface.h"

namespace SimC {

// The IP catalogue of the engine.
class IRepositoryManager : public CitP::Interface {
public:
    static constexpr const char* IID = "SimC.IRepositoryManager";

    // True while the application starts: the first refresh then reports progress only.
    virtual void SetStartup(bool starting) = 0;
    // Loads the catalogue afresh into the element index (Ipu::ElementIndex) from the
    // directories Sim::DataLocation names; returns when it is loaded. 0 when every
    // directory could be walked (files skipped with a warning still count as success).
    virtual unsigned RefreshAllRepositories() = 0;
};

}  // namespace SimC
