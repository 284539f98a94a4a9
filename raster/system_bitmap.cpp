#include "raster/system_bitmap.h"

#include <climits>

#include "raster/section.h"

namespace corvalen::raster {

SystemBitmap::SystemBitmap() : context_(section::createContext()) {}

SystemBitmap::SystemBitmap(int width, int height) : SystemBitmap() { resize(width, height); }

SystemBitmap::~SystemBitmap() {
    releaseSection();
    section::deleteContext(context_);
}

void SystemBitmap::releaseSection() {
    if (section_ != nullptr) section::release(context_, section_, previous_);
    section_ = nullptr;
    previous_ = nullptr;
    bits_ = nullptr;
    allocatedWidth_ = 0;
    allocatedHeight_ = 0;
}

bool SystemBitmap::resize(int width, int height) {
    if (width == width_ && height == height_) return false;
    if (width < 1 || height < 1 || width > INT_MAX - 3) {
        releaseSection();
        width_ = 0;
        height_ = 0;
        return false;
    }
    width_ = width;
    height_ = height;
    const int neededWidth = (width + 3) & ~3;
    // The draw bitmap changes size with the editor's scale; keeping the larger section
    // avoids a new section (and new device-context selection) at every change.
    if (section_ != nullptr && allocatedWidth_ >= neededWidth && allocatedHeight_ >= height)
        return true;
    releaseSection();
    const section::Section created = section::create(context_, neededWidth, height);
    if (created.handle == nullptr || created.bits == nullptr) {
        // Report no size as well as no pixels, so that callers checking either see an
        // unusable bitmap and the next resize to this size tries again.
        if (created.handle != nullptr) section::release(context_, created.handle, created.previous);
        width_ = 0;
        height_ = 0;
        return false;
    }
    section_ = created.handle;
    bits_ = created.bits;
    previous_ = created.previous;
    allocatedWidth_ = neededWidth;
    allocatedHeight_ = height;
    return true;
}

}  // namespace corvalen::raster
