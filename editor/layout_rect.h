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
        return other.right > left && other.left < right && other.bottom > top && other.top < bottom;
    }
    // True when other lies wholly inside (an empty other counts as inside).
    bool contains(const LayoutRect& other) const {
        return other.isEmpty() || (other.left >= left && other.top >= top && other.right <= right &&
                                   other.bottom <= bottom);
    }
    bool operator==(const LayoutRect& other) const {
        return left == other.left && top == other.top && right == other.right &&
               bottom == other.bottom;
    }
};

// The smallest rectangle holding both; an empty one adds nothing.
inline LayoutRect Enclosing(const LayoutRect& a, const LayoutRect& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
            a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

inline LayoutRect Intersection(const LayoutRect& a, const LayoutRect& b) {
    return {a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
            a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
}

}  // namespace corvalen::editor
