#pragma once

#include "Port_MsgManData.h"

// A message of this library issued from the named source file, at this line.
#define EN_MESSAGE(source) Port_MsgManData::createObject("enkit", source, __LINE__)
