#include "WindowEnvironment.h"

#include "En_Global.h"
#include "TestEnvironment.h"

WindowEnvironment::WindowEnvironment() : environment(std::make_unique<TestEnvironment>())
{
    En::Global::_batchCommandRuntimeOptions.EnableBatchMode(false);
    TestEnvironment::useShippedData();
}

WindowEnvironment::~WindowEnvironment() = default;
