// An image that shows the frame its parameter's value chooses and takes no input (the splash
// panel). The engine shows and hides it through its visibility link.
#pragma once

#include "editor/controls/image_control.h"
#include "engine/editor_links.h"

namespace corvalen::editor {

class ImageDisplay : public ImageControl, public VisibilityLink {
public:
    ImageDisplay(int x, int y, int parameterIndex, const BitmapRef& image);

    // Any thread, instance lock held (the engine's visibility link as well).
    void setHidden(bool hidden) override { ImageControl::setHidden(hidden); }
};

}  // namespace corvalen::editor
