#include "Port_Version.h"

namespace Port {

String Version::getValue(const String& key)
{
    if (key == "version")
        return GANTREL_VERSION;
    if (key == "product")
        return GANTREL_PRODUCT;
    return String();
}

}  // namespace Port
