#include "Ipu_AppException.h"

namespace Ipu {

AppException::~AppException() = default;

}  // namespace Ipu
