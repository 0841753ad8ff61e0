#include "crosshairshape.h"

namespace crosshairs {

namespace {
using Items = std::vector<Item>;

void fullCross(Items& out, const Geometry& g)
{
    out.push_back({Item::Line, g.lo, g.y, g.hi, g.y});
    out.push_back({Item::Line, g.x, g.lo, g.x, g.hi});
}
// A horizontal line at y and a vertical one at x, each with the gap of the
// shape around the centre left open.
void openLines(Items& out, const Geometry& g, double y, double x)
{
    out.push_back({Item::Line, g.lo, y, g.x - g.w, y});
    out.push_back({Item::Line, g.x + g.w, y, g.hi, y});
    out.push_back({Item::Line, x, g.lo, x, g.y - g.h});
    out.push_back({Item::Line, x, g.y + g.h, x, g.hi});
}
void box(Items& out, const Geometry& g)
{
    out.push_back({Item::Box, g.x - g.w, g.y - g.h, g.x + g.w, g.y + g.h});
}
void circle(Items& out, const Geometry& g)
{
    out.push_back({Item::Circle, g.x, g.y, g.radius, 0});
}
} // namespace

std::vector<Item> shape(int type, const Geometry& g)
{
    Items out;
    switch (type) {
    case 0:
        fullCross(out, g);
        break;
    case 1:
        openLines(out, g, g.y, g.x);
        break;
    case 2:
        for (double d : {g.h, -g.h})
            out.push_back({Item::Line, g.lo, g.y + d, g.hi, g.y + d});
        for (double d : {g.w, -g.w})
            out.push_back({Item::Line, g.x + d, g.lo, g.x + d, g.hi});
        break;
    case 3:
        openLines(out, g, g.y - g.h, g.x - g.w);
        openLines(out, g, g.y + g.h, g.x + g.w);
        break;
    case 4:
        box(out, g);
        break;
    case 5:
        box(out, g);
        fullCross(out, g);
        break;
    case 6:
        circle(out, g);
        break;
    case 7:
        circle(out, g);
        fullCross(out, g);
        break;
    default:
        break;
    }
    return out;
}

} // namespace crosshairs
