// The run-length encoding of 256-colour bitmaps (BI_RLE8), decoded by the
// program itself: not every Windows loader decodes it into a DIB section.
// Free of any toolkit, so that the Windows program and the tests share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace rle8 {

// Decodes `size` bytes of BI_RLE8 data into `width` x `height` indices,
// rows bottom-up as the bitmap stores them, each row `stride` bytes (at
// least `width`); pixels the data skips or leaves out stay 0. False when
// the data runs past its end or past the picture, or never ends the bitmap:
// the picture is then not to be shown.
inline bool decode(const std::uint8_t *data, std::size_t size, int width, int height, std::size_t stride,
                   std::vector<std::uint8_t> &out)
{
    if (width <= 0 || height <= 0 || stride < std::size_t(width))
        return false;
    out.assign(stride * std::size_t(height), 0);
    int x = 0, y = 0;  // y counts rows from the bottom
    std::size_t at = 0;
    while (at + 2 <= size) {
        const std::uint8_t count = data[at], value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (y >= height || x + count > width)
                return false;
            for (int i = 0; i < count; ++i)
                out[std::size_t(y) * stride + std::size_t(x++)] = value;
            continue;
        }
        switch (value) {
        case 0:  // end of the line
            x = 0;
            ++y;
            break;
        case 1:  // end of the bitmap
            return true;
        case 2:  // a jump right and up
            if (at + 2 > size)
                return false;
            x += data[at];
            y += data[at + 1];
            at += 2;
            if (x > width || y > height)
                return false;
            break;
        default: {  // `value` literal indices, padded to an even count
            if (y >= height || x + value > width || at + value > size)
                return false;
            for (int i = 0; i < value; ++i)
                out[std::size_t(y) * stride + std::size_t(x++)] = data[at + std::size_t(i)];
            at += value + (value & 1);
            break;
        }
        }
    }
    return false;
}

} // namespace rle8
