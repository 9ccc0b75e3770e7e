#include "En_PjClientAddSource.h"

namespace En {

Vipc_MessageHandler* PjClientAddSource::Create() const
{
    return new PjClientAddSource;
}

void PjClientAddSource::ProcessResponse() {}

}  // namespace En
