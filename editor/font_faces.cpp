#include "editor/font_faces.h"

#include <cstring>

namespace corvalen::editor {

const char* platformFaceName(const char* layoutFace) {
    if (layoutFace == nullptr) return "";
    for (const EmbeddedFontFace& face : kEmbeddedFontFaces) {
        if (std::strcmp(face.layoutFace, layoutFace) == 0) return face.family;
    }
    return layoutFace;
}

const EmbeddedFontFace* embeddedFontFace(int resourceId) {
    for (const EmbeddedFontFace& face : kEmbeddedFontFaces) {
        if (face.resourceId == resourceId) return &face;
    }
    return nullptr;
}

}  // namespace corvalen::editor
