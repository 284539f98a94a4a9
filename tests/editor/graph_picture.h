// A headless editor at a chosen scale, painted over a known background, with pixel probes in
// draw-bitmap pixels.
#pragma once

#include <cstdint>

#include "editor/editor_graphics.h"
#include "editor/font_faces.h"

namespace corvalen::editor {

inline constexpr std::uint32_t kGraphBackground = 0xFF303030;

class GraphPicture {
public:
    explicit GraphPicture(int shift = 0) {
        for (const auto& face : kEmbeddedFontFaces) graphics.registerFontResource(face.resourceId);
        graphics.applyScale(shift);
        raster::SystemBitmap& target = graphics.drawBitmap();
        for (int y = 0; y < target.height(); ++y) {
            for (int x = 0; x < target.width(); ++x)
                target.bits()[y * target.rowSpan() + x] = kGraphBackground;
        }
    }
    std::uint32_t at(int x, int y) {
        raster::SystemBitmap& target = graphics.drawBitmap();
        return target.bits()[y * target.rowSpan() + x];
    }

    EditorGraphics graphics;
};

}  // namespace corvalen::editor
