#include "UT_DELAY.h"

#include <chrono>
#include <thread>

namespace UT_DELAY {

void Millidelay(unsigned ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace UT_DELAY
