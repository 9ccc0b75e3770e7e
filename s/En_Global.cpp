#include "En_Global.h"

namespace En {

Ipu::RuntimeOptions Global::_batchCommandRuntimeOptions;
Ipu::RuntimeOptions Global::_guiRuntimeOptions;

}  // namespace En
