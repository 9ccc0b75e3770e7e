#include "WindowEnvironment.h"

#include "En_Global.h"
#include "Sim_DataLocation.h"
#include "TestEnvironment.h"

WindowEnvironment::WindowEnvironment() : environment(std::make_unique<TestEnvironment>())
{
    En::Global::_batchCommandRuntimeOptions.EnableBatchMode(false);
    Sim::DataLocation::SetDefaultCatalogUsed(true);
    Sim::DataLocation::SetDeviceDatabaseFile(Sim::DataLocation::DataDirectory() +
                                             "/devices/devices.json");
}

WindowEnvironment::~WindowEnvironment() = default;
