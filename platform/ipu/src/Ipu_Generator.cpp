#include "Ipu_Generator.h"

namespace Ipu {

Generator::Generator(const Port::String& name, double phase, const Port::String& executable)
    : phase(phase), executable(executable)
{
    SetName(name);
}

Generator::~Generator() = default;

}  // namespace Ipu
