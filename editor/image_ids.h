// The editor's image resources by id. Each image exists twice: the even id at full size
// (scale shift 0) and the next odd id at half size (shift 1). The ids, sizes and frame counts
// are resources/image_table.txt's rows, the table the artwork is drawn from; the build writes
// them as the header included here.
#pragma once

#include "resources/image_table.h"

namespace corvalen::editor {

// The table's row for a full-size id. An id the table does not list cannot be used in a
// constant expression (the throw makes it a compile error there).
constexpr const ImageSize& ImageById(int fullSizeId) {
    for (const ImageSize& image : kImages) {
        if (image.id == fullSizeId) return image;
    }
    throw "no such image in resources/image_table.txt";
}

}  // namespace corvalen::editor
