#include "editor/controls/image_display.h"

namespace corvalen::editor {

ImageDisplay::ImageDisplay(int x, int y, int parameterIndex, const BitmapRef& image)
    : ImageControl(ImageRectAt(x, y, image), parameterIndex, image) {}

}  // namespace corvalen::editor
