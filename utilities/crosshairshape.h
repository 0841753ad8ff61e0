#pragma once
// The crosshair shapes drawn over the video and in their previews, as
// lists of lines, boxes and circles in the picture's user scale.

#include <vector>

namespace crosshairs {

constexpr int shapes = 9;
constexpr int none = 8;

// Where a shape stands: centre, half-width and half-height of its gap or
// box, the circle's radius, and the extent of its "full" lines.
struct Geometry {
    double x, y, w, h, radius, lo, hi;
};

struct Item {
    enum Kind { Line, Box, Circle } kind;
    double x1, y1, x2, y2; // a circle: centre (x1, y1), radius x2
};

// The items of shape type (0 to 8; others draw nothing).
std::vector<Item> shape(int type, const Geometry& g);

// The previews: centre (250, 250), half-size 75, radius 88, lines 0..500.
constexpr Geometry preview{250, 250, 75, 75, 88, 0, 500};

} // namespace crosshairs
