// Native build: fonts go to the raster library's FreeType registry, by family name, so the
// native text path finds the same faces the Windows build registers with GDI.
#include <mutex>

#include "editor/font_faces.h"
#include "editor/platform_fonts.h"
#include "raster/ft/font_registry.h"

namespace corvalen::editor {

bool installPrivateFont(int resourceId, ResourceBytes bytes) {
    const EmbeddedFontFace* face = embeddedFontFace(resourceId);
    if (face == nullptr || bytes.empty()) return false;
    return raster::registerFontFace(face->family, face->weight, false, bytes.data, bytes.size);
}

void ensureSystemFaces() {
    // Windows supplies "Arial"; here Liberation Sans, metric-compatible with it, stands in.
    static std::once_flag once;
    std::call_once(once, [] {
        raster::registerFontFile("Arial", 400, false, CORVALEN_SYSTEM_SANS_REGULAR);
        raster::registerFontFile("Arial", 700, false, CORVALEN_SYSTEM_SANS_BOLD);
    });
}

}  // namespace corvalen::editor
