#pragma once

namespace UT_DELAY {

// Sleeps the calling thread for at least ms milliseconds.
void Millidelay(unsigned ms);

}  // namespace UT_DELAY
