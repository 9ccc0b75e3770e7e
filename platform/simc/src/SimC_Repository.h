#pragma once

#include <atomic>

namespace SimC {

// The work of the engine's repository interface: the IP catalogue in the element index.
class Repository {
public:
    void SetStartup(bool starting) { startup = starting; }
    // Unloads the catalogue and loads it again from Sim::DataLocation's directories. During
    // start-up the first refresh reports its progress as status messages only; any other
    // refresh ends with an information message that counts what was loaded.
    unsigned RefreshAll();

private:
    std::atomic<bool> startup{false};
};

}  // namespace SimC
