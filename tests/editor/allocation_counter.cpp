// Kept in its own file: the replaced operators must not be inlined into the code they count.
#include "allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool counting = false;
thread_local int allocations = 0;

}  // namespace

// Every form is replaced, so a block from any of them meets the matching release (a sanitizer
// reports a nothrow new of its own released by a free of ours).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (counting) ++allocations;
    return std::malloc(size != 0 ? size : 1);
}
void* operator new(std::size_t size) {
    if (void* block = operator new(size, std::nothrow)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

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
