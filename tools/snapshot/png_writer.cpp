#include "png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace corvalen::tools {

bool writePng(raster::RasterBitmap& bitmap, const std::string& path, std::string& error) {
    if (!bitmap.hasPixels()) {
        error = "the bitmap has no pixels";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot open " + path + " for writing";
        return false;
    }
    const int width = bitmap.width();
    const int height = bitmap.height();
    // Made before the setjmp: an error jumping back to it must not skip a destructor.
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 4);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        error = "cannot encode " + path;
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* pixels =
            bitmap.bits() + static_cast<std::ptrdiff_t>(y) * bitmap.rowSpan();
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[x];
            png_byte* out = &row[static_cast<std::size_t>(x) * 4];
            out[0] = static_cast<png_byte>(p >> 16);
            out[1] = static_cast<png_byte>(p >> 8);
            out[2] = static_cast<png_byte>(p);
            out[3] = static_cast<png_byte>(p >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    const bool closed = std::fclose(file) == 0;
    if (!closed) error = "cannot finish writing " + path;
    return closed;
}

}  // namespace corvalen::tools
