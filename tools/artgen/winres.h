// The artwork in the formats of the Windows resource compiler: pictures as
// 256-colour BMP files, the pointing hand as a .cur file and the window icon
// as an .ico file, all little-endian, as Windows reads them.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>

namespace artgen {

// An Indexed8 picture as a BMP file: BITMAPINFOHEADER, BI_RGB, 8 bits per
// pixel, bottom-up rows, its colour table as the palette (biClrUsed entries,
// at most 256).
QByteArray bmpFile(const QImage &indexed);

// An Indexed8 picture whose transparent colour-table entries are see-through
// as a one-image .cur file (two colours, 1 bit per pixel, with its hot spot)
// or .ico file (16 colours, 4 bits per pixel): the colours, then the AND
// mask that makes the transparent pixels show the screen. Throws when the
// picture has more colours than that.
QByteArray cursorFile(const QImage &indexed, QPoint hotSpot);
QByteArray iconFile(const QImage &indexed);

} // namespace artgen
