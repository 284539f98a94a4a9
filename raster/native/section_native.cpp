// Natively there is no device context: a section is a zeroed heap buffer aligned to 64
// bytes, like a DIB section's pixels.
#include "raster/section.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace corvalen::raster::section {
namespace {

constexpr std::size_t kMaxSectionBytes = std::size_t{1} << 31;

}  // namespace

DeviceContext createContext() { return nullptr; }

void deleteContext(DeviceContext) {}

Section create(DeviceContext, int width, int height) {
    Section result;
    if (width <= 0 || height <= 0) return result;
    const std::size_t rows = static_cast<std::size_t>(height);
    const std::size_t span = static_cast<std::size_t>(width);
    // Like a platform section, a plain one has a size limit: larger requests fail cleanly
    // instead of asking the allocator for absurd amounts.
    if (span > kMaxSectionBytes / 4 / rows) return result;
    void* block = std::calloc(rows * span * 4 + 63, 1);
    if (block == nullptr) return result;
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t aligned = (address + 63) & ~static_cast<std::uintptr_t>(63);
    result.handle = block;
    result.bits =
        reinterpret_cast<std::uint32_t*>(static_cast<unsigned char*>(block) + (aligned - address));
    return result;
}

void release(DeviceContext, void* handle, void*) { std::free(handle); }

}  // namespace corvalen::raster::section
