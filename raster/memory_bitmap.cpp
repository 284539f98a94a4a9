#include "raster/memory_bitmap.h"

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace corvalen::raster {
namespace {

constexpr std::size_t kAlignment = 64;
constexpr std::size_t kAlignmentSlack = kAlignment - 1;

// Bytes for h rows of w pixels with the row span rounded up to 4 pixels; 0 when the size
// cannot be represented.
std::size_t neededBytes(int w, int h) {
    if (w > INT_MAX - 3) return 0;
    const std::size_t span = static_cast<std::size_t>((w + 3) & ~3);
    const std::size_t rows = static_cast<std::size_t>(h);
    if (span > (SIZE_MAX - kAlignmentSlack) / 4 / rows) return 0;
    return rows * span * 4;
}

}  // namespace

MemoryBitmap::MemoryBitmap(int width, int height) { resize(width, height); }

MemoryBitmap::~MemoryBitmap() { release(); }

void MemoryBitmap::release() {
    std::free(buffer_);
    buffer_ = nullptr;
    allocatedBytes_ = 0;
    width_ = 0;
    height_ = 0;
}

std::uint32_t* MemoryBitmap::bits() {
    if (buffer_ == nullptr || width_ <= 0 || height_ <= 0) return nullptr;
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(buffer_);
    const std::uintptr_t aligned =
        (address + kAlignmentSlack) & ~static_cast<std::uintptr_t>(kAlignmentSlack);
    return reinterpret_cast<std::uint32_t*>(buffer_ + (aligned - address));
}

int MemoryBitmap::rowSpan() const { return width_ > 0 ? (width_ + 3) & ~3 : 0; }

bool MemoryBitmap::resize(int width, int height) {
    if (width == width_ && height == height_) return false;
    const int oldWidth = width_;
    const int oldHeight = height_;
    if (width <= 0 || height <= 0) {
        release();
        return oldWidth != 0 || oldHeight != 0;
    }
    const std::size_t needed = neededBytes(width, height);
    if (needed == 0) {
        release();
        return oldWidth != 0 || oldHeight != 0;
    }
    if (buffer_ == nullptr) {
        buffer_ = static_cast<unsigned char*>(std::malloc(needed + kAlignmentSlack));
        allocatedBytes_ = buffer_ != nullptr ? needed : 0;
    } else if (allocatedBytes_ < needed) {
        // Grow with a quarter to spare so that a run of slightly larger images does not
        // reallocate every time; if that much is not to be had, try exactly what is needed.
        const std::size_t generous =
            needed <= (SIZE_MAX - kAlignmentSlack) / 5 ? needed * 5 / 4 : needed;
        void* grown = std::realloc(buffer_, generous + kAlignmentSlack);
        if (grown != nullptr) {
            buffer_ = static_cast<unsigned char*>(grown);
            allocatedBytes_ = generous;
        } else {
            std::free(buffer_);
            buffer_ = static_cast<unsigned char*>(std::malloc(needed + kAlignmentSlack));
            allocatedBytes_ = buffer_ != nullptr ? needed : 0;
        }
    }
    if (buffer_ == nullptr) {
        release();
        return oldWidth != 0 || oldHeight != 0;
    }
    width_ = width;
    height_ = height;
    return true;
}

}  // namespace corvalen::raster
