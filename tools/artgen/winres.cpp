#include "winres.h"

#include <QtEndian>

#include <algorithm>
#include <stdexcept>

namespace artgen {

namespace {

void put16(QByteArray &d, quint32 v)
{
    char b[2];
    qToLittleEndian<quint16>(quint16(v), b);
    d.append(b, 2);
}

void put32(QByteArray &d, qint64 v)
{
    char b[4];
    qToLittleEndian<quint32>(quint32(v), b);
    d.append(b, 4);
}

// Rows of a device-independent bitmap are padded to 4 bytes.
int stride(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

constexpr quint32 kBiRgb = 0, kBiRle8 = 1;

void putInfoHeader(QByteArray &d, int width, int height, int bitsPerPixel, int colours, qint64 imageSize,
                   quint32 compression = kBiRgb)
{
    put32(d, 40);           // biSize: BITMAPINFOHEADER
    put32(d, width);
    put32(d, height);       // positive: bottom-up
    put16(d, 1);            // biPlanes
    put16(d, bitsPerPixel);
    put32(d, compression);
    put32(d, imageSize);
    put32(d, 3780);         // 96 dpi
    put32(d, 3780);
    put32(d, colours);      // biClrUsed
    put32(d, 0);            // biClrImportant: all
}

void putPalette(QByteArray &d, const QList<QRgb> &table, int colours)
{
    for (int i = 0; i < colours; ++i) {
        const QRgb c = i < table.size() ? table[i] : 0;
        // RGBQUAD: blue, green, red, reserved.
        d.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    }
}

// Packs the rows bottom-up at 1, 4 or 8 bits per pixel; `value` gives each
// pixel's bits.
template <typename Value>
QByteArray packRows(int width, int height, int bitsPerPixel, Value value)
{
    const int rowBytes = stride(width, bitsPerPixel);
    QByteArray bits(qsizetype(rowBytes) * height, '\0');
    for (int y = 0; y < height; ++y) {
        uchar *row = reinterpret_cast<uchar *>(bits.data()) + qsizetype(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const int bit = x * bitsPerPixel;
            row[bit / 8] |= uchar(value(x, y) << (8 - bitsPerPixel - bit % 8));
        }
    }
    return bits;
}

void requireIndexed(const QImage &image)
{
    if (image.format() != QImage::Format_Indexed8 || image.colorCount() < 1 || image.colorCount() > 256)
        throw std::runtime_error("a Windows picture must be an 8-bit image of at most 256 colours");
}

// The one image of a .cur or .ico file: its header, palette, colour bits and
// AND mask, the height doubled for the mask as the format requires. A
// see-through pixel is black under a set mask bit, which leaves the screen
// as it is; so black is always in the palette.
QByteArray iconImage(const QImage &image, int bitsPerPixel)
{
    requireIndexed(image);
    const QList<QRgb> table = image.colorTable();
    QList<QRgb> palette{qRgb(0, 0, 0)};
    QList<int> map;  // table index -> palette index
    for (QRgb c : table) {
        const QRgb colour = qAlpha(c) == 0 ? qRgb(0, 0, 0) : (c | 0xff000000u);
        if (!palette.contains(colour))
            palette << colour;
        map << int(palette.indexOf(colour));
    }
    const int colours = 1 << bitsPerPixel;
    if (palette.size() > colours)
        throw std::runtime_error("too many colours for the cursor or icon");
    auto transparent = [&](int x, int y) { return qAlpha(table[image.pixelIndex(x, y)]) == 0; };
    const QByteArray colourBits = packRows(image.width(), image.height(), bitsPerPixel,
                                           [&](int x, int y) { return map[image.pixelIndex(x, y)]; });
    const QByteArray mask = packRows(image.width(), image.height(), 1,
                                     [&](int x, int y) { return transparent(x, y) ? 1 : 0; });
    QByteArray d;
    putInfoHeader(d, image.width(), image.height() * 2, bitsPerPixel, 0, colourBits.size() + mask.size());
    putPalette(d, palette, colours);
    return d + colourBits + mask;
}

QByteArray iconDirectory(const QImage &image, int type, int colours, quint32 field4, quint32 field6,
                         const QByteArray &data)
{
    QByteArray d;
    put16(d, 0);
    put16(d, type);  // 1 icon, 2 cursor
    put16(d, 1);     // one image
    d.append(char(image.width())).append(char(image.height())).append(char(colours)).append('\0');
    put16(d, field4);  // icon: planes; cursor: hot spot x
    put16(d, field6);  // icon: bits per pixel; cursor: hot spot y
    put32(d, data.size());
    put32(d, 6 + 16);  // the image follows the one entry
    return d + data;
}

} // namespace

QByteArray rle8(const QImage &indexed)
{
    requireIndexed(indexed);
    QByteArray d;
    const int w = indexed.width();
    for (int y = indexed.height() - 1; y >= 0; --y) {
        const uchar *row = indexed.constScanLine(y);
        auto runAt = [&](int x) {
            int n = 1;
            while (x + n < w && n < 255 && row[x + n] == row[x])
                ++n;
            return n;
        };
        int x = 0;
        while (x < w) {
            const int run = runAt(x);
            if (run >= 3 || w - x < 3) {
                d.append(char(run)).append(char(row[x]));
                x += run;
                continue;
            }
            // A literal stretch up to the next run of three or more.
            int end = x;
            while (end < w && end - x < 255 && runAt(end) < 3)
                end += runAt(end);
            end = std::min(end, x + 255);
            const int n = end - x;
            if (n < 3) {
                for (; x < end; ++x)
                    d.append(char(1)).append(char(row[x]));
                continue;
            }
            d.append('\0').append(char(n)).append(reinterpret_cast<const char *>(row + x), n);
            if (n % 2)
                d.append('\0');  // a literal stretch ends on a 16-bit boundary
            x = end;
        }
        d.append('\0').append(char(y == 0 ? 1 : 0));  // end of the line, or of the bitmap
    }
    return d;
}

QByteArray programManifest()
{
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
        "  <assemblyIdentity type=\"win32\" name=\"Quorvia.Menu\" version=\"1.0.0.0\"/>\n"
        "  <application xmlns=\"urn:schemas-microsoft-com:asm.v3\">\n"
        "    <windowsSettings>\n"
        "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>\n"
        "      <dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>\n"
        "    </windowsSettings>\n"
        "  </application>\n"
        "</assembly>\n");
}

QByteArray bmpFile(const QImage &indexed)
{
    requireIndexed(indexed);
    const int colours = indexed.colorCount();
    QByteArray bits = packRows(indexed.width(), indexed.height(), 8,
                               [&](int x, int y) { return indexed.pixelIndex(x, y); });
    const QByteArray packed = rle8(indexed);
    const quint32 compression = packed.size() < bits.size() ? kBiRle8 : kBiRgb;
    if (compression == kBiRle8)
        bits = packed;
    const qint64 offset = 14 + 40 + 4 * qint64(colours);
    QByteArray d("BM");
    put32(d, offset + bits.size());
    put32(d, 0);  // reserved
    put32(d, offset);
    putInfoHeader(d, indexed.width(), indexed.height(), 8, colours, bits.size(), compression);
    putPalette(d, indexed.colorTable(), colours);
    return d + bits;
}

QByteArray cursorFile(const QImage &indexed, QPoint hotSpot)
{
    return iconDirectory(indexed, 2, 2, hotSpot.x(), hotSpot.y(), iconImage(indexed, 1));
}

QByteArray iconFile(const QImage &indexed)
{
    return iconDirectory(indexed, 1, 16, 1, 4, iconImage(indexed, 4));
}

} // namespace artgen
