// PNG bytes from outside: any input must decode or fail without a crash, leak or undefined
// behaviour, into a new bitmap and into an existing one, and a decoded image must have the
// size its pixels fill.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "raster/blit.h"
#include "raster/memory_bitmap.h"
#include "raster/png_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace corvalen::raster;
    std::unique_ptr<RasterBitmap> image = decodePngToNew(data, size);
    if (image) {
        if (image->width() <= 0 || image->height() <= 0 || image->rowSpan() < image->width())
            std::abort();
        // Touch every pixel through the library's own blit, so sanitizers see the rows.
        MemoryBitmap copy(image->width(), image->height());
        blit(&copy, image.get(), 0, 0, nullptr, 1.0f, kUseSourceAlpha);
    }
    MemoryBitmap reused(3, 3);
    RasterBitmap* result = decodePng(data, size, &reused);
    if (result != nullptr && result != &reused) std::abort();
    return 0;
}
