// The scales the artwork is drawn at, for screens of 96, 144 and 192 dots per
// inch, and how a rectangle of the layout becomes one of device pixels at a
// scale. Free of any toolkit: the generator, both control libraries and the
// tests share it.
#pragma once

#include "ui/layout.h"

#include <iterator>
#include <string>

namespace scales {

// A drawn scale in hundredths (100, 150, 200).
struct Scale {
    int percent;
    const char *suffix;  // of the Linux pictures' names: "", "@1.5x", "@2x"
    const char *tag;     // of the Windows resources' names: "", "_150", "_200"
};

inline constexpr Scale kDrawn[] = {{100, "", ""}, {150, "@1.5x", "_150"}, {200, "@2x", "_200"}};

// The drawn scale a screen of `percent` uses: the smallest drawn scale at or
// above it (reduced smoothly when it is not exactly that), the largest one
// beyond 200.
inline const Scale &drawnFor(int percent)
{
    for (const Scale &s : kDrawn)
        if (percent <= s.percent)
            return s;
    return kDrawn[std::size(kDrawn) - 1];
}

// A coordinate scaled down to the whole device pixel at or before it, or up
// to the one at or after it (coordinates are never negative in the layout).
inline constexpr int floorScaled(int v, int percent) { return v * percent / 100; }
inline constexpr int ceilScaled(int v, int percent) { return (v * percent + 99) / 100; }

// The device rectangle of a layout rectangle: left and top rounded down,
// right and bottom rounded up, so that the pictures of neighbouring
// rectangles still meet and none is cut short.
inline constexpr layout::Rect deviceRect(const layout::Rect &r, int percent)
{
    const int left = floorScaled(r.x, percent), top = floorScaled(r.y, percent);
    return {left, top, ceilScaled(r.x + r.w, percent) - left, ceilScaled(r.y + r.h, percent) - top};
}

// A length in device pixels: at least one, rounded to the nearest.
inline constexpr int devicePixels(int v, int percent) { return v * percent < 50 ? 1 : (v * percent + 50) / 100; }

} // namespace scales
