#pragma once

#include "CitP_Ref.h"
#include "En_ProjectManager.h"
#include "SimC_IRepositoryManager.h"

namespace En {

// The seam through which tests put another repository (none, or one that fails) in the
// engine's place.
struct ProjectManagerSeam {
    static CitP::Ref<SimC::IRepositoryManager>& Repository(ProjectManager& manager)
    {
        return manager.repository;
    }
};

}  // namespace En
