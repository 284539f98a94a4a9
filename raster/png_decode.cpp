#include "raster/png_decode.h"

#include <png.h>

#include <climits>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <new>

#include "raster/memory_bitmap.h"

namespace corvalen::raster {
namespace {

// Far above any image of the editor; stops a tiny file from announcing gigabytes.
constexpr png_uint_32 kMaxDimension = 16384;

struct MemoryReader {
    const unsigned char* data;
    std::size_t length;
    std::size_t position;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->length - reader->position) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->position, count);
    reader->position += count;
}

// The library prints nothing: errors unwind to the decoder's setjmp, warnings are dropped.
[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

// Sets up 8-bit A, R, G, B output for every colour type; returns the pass count.
int requestArgb(png_structp png, png_infop info) {
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparency) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if ((colourType & PNG_COLOR_MASK_ALPHA) != 0 || transparency) {
        png_set_swap_alpha(png);
    } else {
        png_set_filler(png, 0xFF, PNG_FILLER_BEFORE);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return passes;
}

// Bytes a, r, g, b in memory become the word 0xAARRGGBB.
void bytesToWords(RasterBitmap& bitmap) {
    std::uint32_t* bits = bitmap.bits();
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint32_t* row = bits + static_cast<std::ptrdiff_t>(y) * bitmap.rowSpan();
        auto* bytes = reinterpret_cast<const unsigned char*>(row);
        for (int x = 0; x < bitmap.width(); ++x) {
            const unsigned char* p = bytes + 4 * x;
            row[x] = static_cast<std::uint32_t>(p[0]) << 24 |
                     static_cast<std::uint32_t>(p[1]) << 16 |
                     static_cast<std::uint32_t>(p[2]) << 8 | p[3];
        }
    }
}

// Runs the decoder. Everything that must be cleaned up after an error lives in `state`,
// because locals of this frame are not reliable after the longjmp.
struct DecodeState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    RasterBitmap* created = nullptr;  // made here, freed on failure
    RasterBitmap* target = nullptr;   // the caller's bitmap or `created`
};

bool decodeInto(DecodeState& state, MemoryReader& reader) {
    if (setjmp(png_jmpbuf(state.png))) return false;
    png_set_read_fn(state.png, &reader, readFromMemory);
    png_set_user_limits(state.png, kMaxDimension, kMaxDimension);
    png_read_info(state.png, state.info);
    const int passes = requestArgb(state.png, state.info);
    const png_uint_32 width = png_get_image_width(state.png, state.info);
    const png_uint_32 height = png_get_image_height(state.png, state.info);
    if (width == 0 || height == 0 || width > kMaxDimension || height > kMaxDimension) return false;
    if (png_get_rowbytes(state.png, state.info) != static_cast<png_size_t>(width) * 4) return false;
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    if (state.target == nullptr) {
        state.created = new (std::nothrow) MemoryBitmap();
        state.target = state.created;
        if (state.target == nullptr) return false;
    }
    RasterBitmap* dest = state.target;
    dest->resize(w, h);
    if (dest->width() != w || dest->height() != h || dest->bits() == nullptr ||
        dest->rowSpan() < w || dest->isFlipped())
        return false;
    // Rows go straight into the bitmap; interlaced images pass over the rows 7 times.
    std::uint32_t* bits = dest->bits();
    const int span = dest->rowSpan();
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y) {
            png_read_row(state.png,
                         reinterpret_cast<png_bytep>(bits + static_cast<std::ptrdiff_t>(y) * span),
                         nullptr);
        }
    }
    png_read_end(state.png, nullptr);
    return true;
}

}  // namespace

RasterBitmap* decodePng(const void* bytes, std::size_t length, RasterBitmap* dest) {
    if (bytes == nullptr || length < 8) return nullptr;
    if (png_sig_cmp(static_cast<png_const_bytep>(bytes), 0, 8) != 0) return nullptr;
    DecodeState state;
    state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (state.png == nullptr) return nullptr;
    state.info = png_create_info_struct(state.png);
    if (state.info == nullptr) {
        png_destroy_read_struct(&state.png, nullptr, nullptr);
        return nullptr;
    }
    MemoryReader reader{static_cast<const unsigned char*>(bytes), length, 0};
    state.target = dest;
    const bool ok = decodeInto(state, reader);
    png_destroy_read_struct(&state.png, &state.info, nullptr);
    if (!ok) {
        delete state.created;
        return nullptr;
    }
    bytesToWords(*state.target);
    return state.target;
}

std::unique_ptr<RasterBitmap> decodePngToNew(const void* bytes, std::size_t length) {
    return std::unique_ptr<RasterBitmap>(decodePng(bytes, length, nullptr));
}

}  // namespace corvalen::raster
