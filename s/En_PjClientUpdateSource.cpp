#include "En_PjClientUpdateSource.h"

namespace En {

Vipc_MessageHandler* PjClientUpdateSource::Create() const
{
    return new PjClientUpdateSource;
}

void PjClientUpdateSource::ProcessResponse() {}

}  // namespace En
