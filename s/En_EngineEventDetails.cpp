#include "En_EngineEventDetails.h"

namespace En {

EngineEventDetails::EngineEventDetails(const Ipu::Event& event) : present(true), eventCopy(event) {}

}  // namespace En
