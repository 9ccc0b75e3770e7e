#include "En_VipcEngineNotify.h"

#include "En_VipcClient.h"
#include "Ipu_DebugMessengerFactory.h"
#include "Ipu_EngineNotifyMgr.h"

namespace En {

void VipcEngineNotify::AddSourceNotify(const Port::String& file, const Port::String&)
{
    Ipu::DebugMessengerFactory::GetLogger("vipc").Normal("Sending VipcMessage AddSource: %s\n",
                                                         file.c_str());
    VipcClient::GetInstance()->SendAddSource(file);
}

void VipcEngineNotify::UpdateSourceNotify(const Port::String& file, const Port::String&)
{
    Ipu::DebugMessengerFactory::GetLogger("vipc").Normal("Sending VipcMessage UpdateSource: %s\n",
                                                         file.c_str());
    VipcClient::GetInstance()->SendUpdateSource(file);
}

// Removed here, while the override still exists: the engine may be delivering on another
// thread, and the removal waits for that call to end.
VipcEngineNotify::~VipcEngineNotify()
{
    Ipu::EngineNotifyMgr::RemoveEngineNotify(this);
}

}  // namespace En
