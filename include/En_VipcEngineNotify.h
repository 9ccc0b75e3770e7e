#pragma once

#include "Ipu_DefaultEngineNotify.h"
#include "Port_StringBase.h"

namespace En {

// Passes each source file the engine adds or updates on to the project navigator through
// VipcClient. Register it with Ipu::EngineNotifyMgr; it removes itself when destroyed.
class VipcEngineNotify : public Ipu::DefaultEngineNotify {
public:
    VipcEngineNotify() = default;
    VipcEngineNotify(const VipcEngineNotify&) = default;
    VipcEngineNotify& operator=(const VipcEngineNotify&) = default;

    // other is left out of the message.
    void AddSourceNotify(const Port::String& file, const Port::String& other) override;
    void UpdateSourceNotify(const Port::String& file, const Port::String& other) override;
    ~VipcEngineNotify() override;
};

}  // namespace En
