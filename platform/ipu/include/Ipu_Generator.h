#pragma once

#include "Ipu_GeneratorBase.h"
#include "Port_StringBase.h"

namespace Ipu {

// One step of a generator chain. The engine runs a chain's generators in phase order; the
// executable names the step the engine performs (its arguments, if any, are properties).
class Generator : public GeneratorBase {
public:
    Generator() = default;
    Generator(const Port::String& name, double phase, const Port::String& executable);
    ~Generator() override;

    double GetPhase() const { return phase; }
    void SetPhase(double value) { phase = value; }
    Port::String GetExecutable() const { return executable; }
    void SetExecutable(const Port::String& value) { executable = value; }

private:
    double phase = 0.0;
    Port::String executable;
};

}  // namespace Ipu
