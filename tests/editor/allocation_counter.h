// Counts the allocations the current thread makes between start and stop (the test program
// replaces the global operator new to do it).
#pragma once

namespace corvalen::testing_support {

void StartCountingAllocations();
// The allocations since StartCountingAllocations on this thread.
int StopCountingAllocations();

}  // namespace corvalen::testing_support
