// Kept in its own file: the replaced operators must not be inlined into the code they measure.
// Each block carries its size in front of it, so a release knows what it gives back.
#include "peak_allocation.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool measuring = false;
thread_local std::size_t held = 0;
thread_local std::size_t peak = 0;

// Room for the size in front of the block, keeping the block aligned as malloc's own.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) noexcept {
    if (size > static_cast<std::size_t>(-1) - kHeader) return nullptr;
    auto* raw = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (raw == nullptr) return nullptr;
    *reinterpret_cast<std::size_t*>(raw) = size;
    if (measuring) {
        held += size;
        if (held > peak) peak = held;
    }
    return raw + kHeader;
}

void Release(void* block) noexcept {
    if (block == nullptr) return;
    unsigned char* raw = static_cast<unsigned char*>(block) - kHeader;
    const std::size_t size = *reinterpret_cast<std::size_t*>(raw);
    if (measuring) held = held > size ? held - size : 0;
    std::free(raw);
}

}  // namespace

// Every form is replaced, so a block from any of them meets the matching release.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size) {
    if (void* block = Allocate(size)) return block;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }

namespace corvalen::testing_support {

void StartMeasuringAllocations() {
    held = 0;
    peak = 0;
    measuring = true;
}

std::size_t StopMeasuringAllocations() {
    measuring = false;
    return peak;
}

}  // namespace corvalen::testing_support
