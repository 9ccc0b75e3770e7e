#include "Ipu_DefaultEngineNotify.h"

#include "Ipu_EngineNotifyMgr.h"

namespace Ipu {

bool DefaultEngineNotify::EventNotify(Event&)
{
    return false;
}

void DefaultEngineNotify::AddSourceNotify(const Port::String&, const Port::String&) {}

void DefaultEngineNotify::UpdateSourceNotify(const Port::String&, const Port::String&) {}

// A receiver forgotten in the manager would be called after it was freed.
DefaultEngineNotify::~DefaultEngineNotify()
{
    EngineNotifyMgr::RemoveEngineNotify(this);
}

}  // namespace Ipu
