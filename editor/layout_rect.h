// Rectangles on the editor's layout plane (1600 x 1054 units, origin top left).
#pragma once

namespace corvalen::editor {

// Left and top inclusive, right and bottom exclusive, in layout units.
struct LayoutRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }
    // True when the two rectangles share at least one unit.
    bool overlaps(const LayoutRect& other) const {
        return other.right > left && other.left < right && other.bottom > top &&
               other.top < bottom;
    }
    bool operator==(const LayoutRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

}  // namespace corvalen::editor
