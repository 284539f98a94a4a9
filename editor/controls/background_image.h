// The editor's backdrop: one image under everything, redrawn only where the repaint needs it.
#pragma once

#include "editor/controls/image_control.h"

namespace corvalen::editor {

class BackgroundImage : public ImageControl {
public:
    // Covers the whole layout plane; takes no parameter and no mouse.
    explicit BackgroundImage(const BitmapRef& image);

    // Editor thread: the part of the image under the area being repainted.
    void paint(EditorGraphics& graphics) override;
    bool clipsItself() const override { return true; }
};

}  // namespace corvalen::editor
