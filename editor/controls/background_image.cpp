#include "editor/controls/background_image.h"

#include "editor/editor_graphics.h"

namespace corvalen::editor {

BackgroundImage::BackgroundImage(const BitmapRef& image)
    : ImageControl(LayoutRect{0, 0, EditorGraphics::kLayoutWidth, EditorGraphics::kLayoutHeight},
                   -1, image) {
    setFlagBits(kControlNoMouse);
}

void BackgroundImage::paint(EditorGraphics& graphics) {
    resolveImage(graphics);
    graphics.drawBackground(image());
}

}  // namespace corvalen::editor
