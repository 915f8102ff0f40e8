// The form in which the artwork is compiled into the program: the pixels as
// the screen draws them (32 bits, premultiplied alpha where there is any),
// after a 16-byte header, so that a picture is used where it lies in the
// resources, with nothing to decode or convert when a window opens.
//
//   "QPX1", then width, height and QImage::Format as 32-bit numbers in the
//   byte order of the machine (the generator runs where the program is
//   built), then the rows, width * 4 bytes each.
#pragma once

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstring>

namespace screenimage {

inline constexpr char kMagic[4] = {'Q', 'P', 'X', '1'};
inline constexpr qsizetype kHeaderSize = 16;

// `image` in the screen's form, header first.
inline QByteArray encode(const QImage &image)
{
    const QImage pixels = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                        : QImage::Format_RGB32);
    const std::uint32_t header[3] = {std::uint32_t(pixels.width()), std::uint32_t(pixels.height()),
                                     std::uint32_t(pixels.format())};
    QByteArray data(kMagic, 4);
    data.append(reinterpret_cast<const char *>(header), sizeof header);
    for (int y = 0; y < pixels.height(); ++y)
        data.append(reinterpret_cast<const char *>(pixels.constScanLine(y)), qsizetype(pixels.width()) * 4);
    return data;
}

// The picture in `data`, sharing its memory (which must outlive it) when the
// rows are 4-byte aligned there, else a copy; a null image when the data is
// not a whole picture of this form.
inline QImage decode(const uchar *data, qsizetype size)
{
    if (!data || size < kHeaderSize || std::memcmp(data, kMagic, 4) != 0)
        return {};
    std::uint32_t header[3];
    std::memcpy(header, data + 4, sizeof header);
    const auto [width, height, format] = header;
    if (width == 0 || height == 0 || width > 16384 || height > 16384
        || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied)
        || size != kHeaderSize + qsizetype(width) * height * 4)
        return {};
    const uchar *rows = data + kHeaderSize;
    const QImage image(rows, int(width), int(height), qsizetype(width) * 4, QImage::Format(format));
    return reinterpret_cast<std::uintptr_t>(rows) % 4 == 0 ? image : image.copy();
}

} // namespace screenimage
