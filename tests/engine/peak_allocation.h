// The most memory the current thread held at once through operator new between start and stop
// (the test program replaces the global operator new to measure it).
#pragma once

#include <cstddef>

namespace corvalen::testing_support {

void StartMeasuringAllocations();
// The peak, in bytes, of what this thread allocated since the start and had not yet released.
std::size_t StopMeasuringAllocations();

}  // namespace corvalen::testing_support
