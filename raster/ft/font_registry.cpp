#include "raster/ft/font_registry.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <strings.h>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "raster/ft/registered_faces.h"

namespace corvalen::raster {
namespace {

struct Registry {
    std::mutex mutex;
    std::vector<ft::RegisteredFace> faces;
};

Registry& registry() {
    static Registry* instance = new Registry;  // lives as long as the process
    return *instance;
}

bool readableFont(const std::vector<unsigned char>& bytes) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return false;
    FT_Face face = nullptr;
    const bool ok = FT_New_Memory_Face(library, bytes.data(), static_cast<FT_Long>(bytes.size()), 0,
                                       &face) == 0;
    if (ok) FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok;
}

int faceDistance(const ft::RegisteredFace& face, int weight, bool italic) {
    return std::abs(face.weight - weight) + (face.italic != italic ? 1000 : 0);
}

}  // namespace

bool registerFontFace(const char* faceName, int weight, bool italic, const void* data,
                      std::size_t size) {
    if (faceName == nullptr || data == nullptr || size == 0) return false;
    auto bytes = std::make_shared<std::vector<unsigned char>>(
        static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size);
    if (!readableFont(*bytes)) return false;
    Registry& r = registry();
    const std::lock_guard<std::mutex> lock(r.mutex);
    r.faces.push_back(ft::RegisteredFace{faceName, weight, italic, std::move(bytes)});
    return true;
}

bool registerFontFile(const char* faceName, int weight, bool italic, const char* path) {
    if (path == nullptr) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    std::fclose(file);
    return !bytes.empty() && registerFontFace(faceName, weight, italic, bytes.data(), bytes.size());
}

void clearRegisteredFonts() {
    Registry& r = registry();
    const std::lock_guard<std::mutex> lock(r.mutex);
    r.faces.clear();
}

namespace ft {

RegisteredFace findFace(const char* name, int weight, bool italic) {
    Registry& r = registry();
    const std::lock_guard<std::mutex> lock(r.mutex);
    const RegisteredFace* best = nullptr;
    for (const RegisteredFace& face : r.faces) {
        if (name == nullptr || strcasecmp(face.name.c_str(), name) != 0) continue;
        if (best == nullptr ||
            faceDistance(face, weight, italic) < faceDistance(*best, weight, italic))
            best = &face;
    }
    if (best == nullptr) {
        // Like a platform substituting a face it does not know: the first registered
        // family, in the closest weight and slant.
        for (const RegisteredFace& face : r.faces) {
            if (face.name != r.faces.front().name) continue;
            if (best == nullptr ||
                faceDistance(face, weight, italic) < faceDistance(*best, weight, italic))
                best = &face;
        }
    }
    return best != nullptr ? *best : RegisteredFace{};
}

}  // namespace ft
}  // namespace corvalen::raster
