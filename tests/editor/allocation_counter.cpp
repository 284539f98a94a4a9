// Kept in its own file: the replaced operators must not be inlined into the code they count.
#include "allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool counting = false;
thread_local int allocations = 0;

}  // namespace

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* block = std::malloc(size != 0 ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace corvalen::testing_support {

void StartCountingAllocations() {
    allocations = 0;
    counting = true;
}

int StopCountingAllocations() {
    counting = false;
    return allocations;
}

}  // namespace corvalen::testing_support
