// The process-wide list of image-file loaders (PNG is the only kind).
#pragma once

#include <memory>
#include <vector>

#include "raster/raster_bitmap.h"

namespace corvalen::raster {

class ImageFileLoader {
public:
    virtual ~ImageFileLoader() = default;
    // The file-type description shown in open dialogs.
    virtual const char* description() const = 0;
    // True when the name looks like a file of this kind.
    virtual bool acceptsName(const char* fileName) const = 0;
    // Decodes the file into a new bitmap, or null.
    virtual std::unique_ptr<RasterBitmap> loadFile(const char* fileName) const = 0;
};

// "PNG files (*.PNG)"; accepts names whose last component ends in ".png" (any case).
class PngFileLoader final : public ImageFileLoader {
public:
    const char* description() const override;
    bool acceptsName(const char* fileName) const override;
    std::unique_ptr<RasterBitmap> loadFile(const char* fileName) const override;
};

// The loaders, linked once on first use and never removed. The editor itself loads only
// resources; this is for tools.
const std::vector<const ImageFileLoader*>& imageFileLoaders();

}  // namespace corvalen::raster
