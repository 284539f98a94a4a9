#include "raster/image_file_loader.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "raster/png_decode.h"

namespace corvalen::raster {
namespace {

// Files larger than this are not images of ours.
constexpr long kMaxFileBytes = 64L * 1024 * 1024;

const char* lastComponent(const char* name) {
    const char* last = name;
    for (const char* p = name; *p != '\0'; ++p)
        if (*p == '/' || *p == '\\' || *p == ':') last = p + 1;
    return last;
}

bool endsWithIgnoringCase(const char* text, const char* suffix) {
    const std::size_t n = std::strlen(text);
    const std::size_t m = std::strlen(suffix);
    if (m > n) return false;
    for (std::size_t i = 0; i < m; ++i) {
        const auto a = static_cast<unsigned char>(text[n - m + i]);
        const auto b = static_cast<unsigned char>(suffix[i]);
        if (std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}

}  // namespace

const char* PngFileLoader::description() const { return "PNG files (*.PNG)"; }

bool PngFileLoader::acceptsName(const char* fileName) const {
    return fileName != nullptr && endsWithIgnoringCase(lastComponent(fileName), ".png");
}

std::unique_ptr<RasterBitmap> PngFileLoader::loadFile(const char* fileName) const {
    if (fileName == nullptr) return nullptr;
    std::FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr) return nullptr;
    std::vector<unsigned char> bytes;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        if (size > 0 && size <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<std::size_t>(size));
            if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) bytes.clear();
        }
    }
    std::fclose(file);
    if (bytes.empty()) return nullptr;
    return decodePngToNew(bytes.data(), bytes.size());
}

const std::vector<const ImageFileLoader*>& imageFileLoaders() {
    static const PngFileLoader png;
    static const std::vector<const ImageFileLoader*> loaders{&png};
    return loaders;
}

}  // namespace corvalen::raster
