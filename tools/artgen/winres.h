// The artwork in the formats of the Windows resource compiler: pictures as
// 256-colour BMP files, the pointing hand as a .cur file and the window icon
// as an .ico file, all little-endian, as Windows reads them.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>

namespace artgen {

// An Indexed8 picture as a BMP file: BITMAPINFOHEADER, 8 bits per pixel,
// bottom-up rows, its colour table as the palette (biClrUsed entries, at
// most 256); the rows run-length encoded (BI_RLE8) when that is smaller than
// the plain rows (BI_RGB).
QByteArray bmpFile(const QImage &indexed);

// The rows of an Indexed8 picture in BI_RLE8, bottom-up: runs of one index,
// literal stretches of three or more, an end-of-line after each row and the
// end of the bitmap after the last.
QByteArray rle8(const QImage &indexed);

// The program's manifest: aware of each monitor's own DPI (per-monitor v2,
// with the older per-monitor and system-wide settings for the systems before
// it), so that Windows leaves the scaling of its pictures to the program.
QByteArray programManifest();

// An Indexed8 picture whose transparent colour-table entries are see-through
// as a one-image .cur file (two colours, 1 bit per pixel, with its hot spot)
// or .ico file (16 colours, 4 bits per pixel): the colours, then the AND
// mask that makes the transparent pixels show the screen. Throws when the
// picture has more colours than that.
QByteArray cursorFile(const QImage &indexed, QPoint hotSpot);
QByteArray iconFile(const QImage &indexed);

} // namespace artgen
