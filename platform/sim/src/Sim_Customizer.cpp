#include "Sim_Customizer.h"

#include <mutex>
#include <utility>

namespace Sim {

namespace {

struct Registry {
    std::mutex mutex;
    std::shared_ptr<Customizer> current;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

}  // namespace

Customizer::~Customizer() = default;

std::shared_ptr<Customizer> Customizer::Current()
{
    Registry& registry = TheRegistry();
    std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.current;
}

void Customizer::SetCurrent(std::shared_ptr<Customizer> customizer)
{
    Registry& registry = TheRegistry();
    std::shared_ptr<Customizer> previous;
    {
        std::lock_guard<std::mutex> lock(registry.mutex);
        previous = std::exchange(registry.current, std::move(customizer));
    }
    // previous may be the last owner: it is destroyed here, outside the lock, so that its
    // destructor may itself consult the registry.
}

}  // namespace Sim
