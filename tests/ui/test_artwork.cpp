// The compiled-in artwork and the sound files: every picture a window asks
// for exists at the size of its place, at each scale it is drawn at, on one
// 256-colour palette per window and scale, drawn from where it lies in the
// resources; a highlight differs from what lies beneath it only in its word;
// the cursor, the icon and the two wave files are what the program relies
// on; the Windows program's BMP, .cur and .ico files and its resource script
// hold exactly the same pictures, in the forms Windows reads.

#include "assets/assets.h"
#include "assets/rle8.h"
#include "assets/scales.h"
#include "assets/screenimage.h"
#include "ui/layout.h"

#include <QFile>
#include <QImage>
#include <QResource>
#include <QSet>
#include <QtEndian>
#include <QtMath>
#include <QtTest>

#include <cstring>
#include <vector>

namespace {

QRect qrect(const layout::Rect &r) { return QRect(r.x, r.y, r.w, r.h); }

// A rectangle of the layout in the device pixels of a scale.
QRect atScale(const QRect &r, int percent)
{
    return qrect(scales::deviceRect({r.x(), r.y(), r.width(), r.height()}, percent));
}

QString suffixOf(int percent) { return QLatin1String(scales::drawnFor(percent).suffix); }

// The stored picture itself, as the resources hold it.
QImage stored(const QString &form, const QString &name)
{
    return assets::image(form + QLatin1Char('/') + name);
}

QSet<QRgb> coloursOf(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

struct Expected {
    QString form, name;
    QRect rect;          // where it lies in the window (background: 0, 0, size)
    QString base{};      // for a highlight: the picture beneath it
    QRgb wordColour = 0; // for a highlight or pressed look: the colour of its word
};

QList<Expected> expectedPictures()
{
    const QRgb white = qRgb(255, 255, 255), green = qRgb(0, 255, 0);
    QList<Expected> list;
    auto buttons = [&](const QString &form, const auto &table, QRgb lightWord) {
        for (const layout::Button &b : table) {
            const QString stem = QString::fromLatin1(b.name);
            if (b.light.w)
                list << Expected{form, QStringLiteral("img%1Light").arg(stem), qrect(b.light),
                                 QStringLiteral("background"), lightWord};
            if (b.indent.w)
                list << Expected{form, QStringLiteral("img%1Indent").arg(stem), qrect(b.indent), QString(), green};
        }
    };
    {
        namespace L = layout::games;
        list << Expected{QStringLiteral("frmGames"), QStringLiteral("background"), QRect(0, 0, L::width, L::height)};
        buttons(QStringLiteral("frmGames"), L::commands, white);
        buttons(QStringLiteral("frmGames"), L::categories, white);
    }
    {
        namespace L = layout::cd;
        const QString f = QStringLiteral("frmCD");
        list << Expected{f, QStringLiteral("background"), QRect(0, 0, L::width, L::height)};
        list << Expected{f, QStringLiteral("imgOk2"), qrect(L::imgOk2)};
        list << Expected{f, QStringLiteral("imgOk2Light"), qrect(L::imgOk2Light), QStringLiteral("imgOk2"), white};
        list << Expected{f, QStringLiteral("imgOk2Indent"), qrect(L::imgOk2Indent), QString(), green};
    }
    {
        namespace L = layout::hdd;
        list << Expected{QStringLiteral("frmHDD"), QStringLiteral("background"),
                         QRect(0, 0, L::backgroundWidth, L::backgroundHeight)};
        buttons(QStringLiteral("frmHDD"), L::buttons, green);
        list << Expected{QStringLiteral("frmHDD"), QStringLiteral("imgCopyTrough"), qrect(L::prgCopy)};
        list << Expected{QStringLiteral("frmHDD"), QStringLiteral("imgCopyFill"), qrect(L::prgCopyFill)};
    }
    {
        namespace L = layout::exitdlg;
        list << Expected{QStringLiteral("frmExit"), QStringLiteral("background"), QRect(0, 0, L::width, L::height)};
        buttons(QStringLiteral("frmExit"), L::buttons, green);
    }
    {
        namespace L = layout::save;
        list << Expected{QStringLiteral("frmSave"), QStringLiteral("background"),
                         QRect(0, 0, L::backgroundWidth, L::backgroundHeight)};
        buttons(QStringLiteral("frmSave"), L::buttons, white);
    }
    return list;
}

Expected find(const QString &form, const QString &name)
{
    for (const Expected &e : expectedPictures())
        if (e.form == form && e.name == name)
            return e;
    return {};
}

bool hasColour(const QImage &image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) | 0xff000000u) == (colour | 0xff000000u))
                return true;
    return false;
}

struct Wave {
    quint16 format = 0, channels = 0, bits = 0;
    quint32 rate = 0;
    QList<qint16> samples;
};

// Reads a RIFF WAVE file chunk by chunk; an empty result on any fault.
std::optional<Wave> readWave(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray d = file.readAll();
    if (d.size() < 12 || !d.startsWith("RIFF") || d.mid(8, 4) != "WAVE")
        return std::nullopt;
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(d.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(d.constData() + at); };
    Wave w;
    bool haveFormat = false, haveData = false;
    for (qsizetype at = 12; at + 8 <= d.size();) {
        const QByteArray id = d.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (at + 8 + qsizetype(size) > d.size())
            return std::nullopt;
        if (id == "fmt " && size >= 16) {
            w.format = u16(at + 8);
            w.channels = u16(at + 10);
            w.rate = u32(at + 12);
            w.bits = u16(at + 22);
            haveFormat = true;
        } else if (id == "data") {
            for (quint32 i = 0; i + 1 < size; i += 2)
                w.samples << qint16(u16(at + 8 + i));
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    return haveFormat && haveData ? std::optional<Wave>(w) : std::nullopt;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString windowsArt(const QString &file) { return QStringLiteral(QUORVIA_WINDOWS_ART_DIR "/") + file; }

// The fields of a BITMAPINFOHEADER at `at`, read as Windows reads them.
struct InfoHeader {
    qint32 size = 0, width = 0, height = 0;
    quint16 planes = 0, bits = 0;
    quint32 compression = 0, colours = 0;
};

std::optional<InfoHeader> infoHeader(const QByteArray &d, qsizetype at)
{
    if (at < 0 || at + 40 > d.size())
        return std::nullopt;
    auto u16 = [&](qsizetype o) { return qFromLittleEndian<quint16>(d.constData() + at + o); };
    auto u32 = [&](qsizetype o) { return qFromLittleEndian<quint32>(d.constData() + at + o); };
    return InfoHeader{qint32(u32(0)), qint32(u32(4)), qint32(u32(8)), u16(12), u16(14), u32(16), u32(32)};
}

QList<QRgb> paletteAt(const QByteArray &d, qsizetype at, int count)
{
    QList<QRgb> palette;
    for (int i = 0; i < count && at + 4 * i + 4 <= d.size(); ++i) {
        const auto *q = reinterpret_cast<const uchar *>(d.constData() + at + 4 * i);
        palette << qRgb(q[2], q[1], q[0]);
    }
    return palette;
}

// The image of a .cur or .ico file at `at` as the screen shows it over
// nothing: colour bits through the palette where the AND mask is clear,
// transparent where it is set over black; a set mask over any other colour
// (which would invert the screen) is marked half-transparent magenta.
QImage iconDib(const QByteArray &d, qsizetype at, InfoHeader *header)
{
    const auto h = infoHeader(d, at);
    if (!h || h->size != 40 || h->height != 2 * h->width || h->compression != 0
        || (h->bits != 1 && h->bits != 4 && h->bits != 8))
        return {};
    *header = *h;
    const int w = h->width, rows = h->height / 2;
    const int count = h->colours ? int(h->colours) : 1 << h->bits;
    const QList<QRgb> palette = paletteAt(d, at + 40, count);
    const int colourStride = (w * h->bits + 31) / 32 * 4, maskStride = (w + 31) / 32 * 4;
    const qsizetype colourAt = at + 40 + 4 * count, maskAt = colourAt + qsizetype(colourStride) * rows;
    if (palette.size() != count || maskAt + qsizetype(maskStride) * rows > d.size())
        return {};
    auto bitsAt = [&](qsizetype base, int stride, int bits, int x, int y) {
        const uchar byte = uchar(d[base + qsizetype(rows - 1 - y) * stride + x * bits / 8]);
        return (byte >> (8 - bits - x * bits % 8)) & ((1 << bits) - 1);
    };
    QImage image(w, rows, QImage::Format_ARGB32);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < w; ++x) {
            const int index = bitsAt(colourAt, colourStride, h->bits, x, y);
            const QRgb colour = index < count ? palette[index] : qRgba(255, 0, 255, 128);
            const bool masked = bitsAt(maskAt, maskStride, 1, x, y);
            image.setPixel(x, y, !masked ? colour : colour == qRgb(0, 0, 0) ? qRgba(0, 0, 0, 0) : qRgba(255, 0, 255, 128));
        }
    return image;
}

// A one-image cursor or icon file: its directory entry's fields and image.
struct IconFile {
    quint16 type = 0, count = 0, field4 = 0, field6 = 0;
    int width = 0, height = 0;
    InfoHeader header;
    QImage image;
};

IconFile iconFile(const QString &path)
{
    const QByteArray d = fileBytes(path);
    IconFile f;
    if (d.size() < 22 || qFromLittleEndian<quint16>(d.constData()) != 0)
        return f;
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(d.constData() + at); };
    f.type = u16(2);
    f.count = u16(4);
    f.width = uchar(d[6]) ? uchar(d[6]) : 256;
    f.height = uchar(d[7]) ? uchar(d[7]) : 256;
    f.field4 = u16(10);
    f.field6 = u16(12);
    const quint32 size = qFromLittleEndian<quint32>(d.constData() + 14);
    const quint32 offset = qFromLittleEndian<quint32>(d.constData() + 18);
    if (qsizetype(offset) + qsizetype(size) <= d.size())
        f.image = iconDib(d.left(offset + size), offset, &f.header);
    return f;
}

// What the Linux program shows for a picture with transparency, transparent
// pixels all alike, to compare with a decoded cursor or icon.
QImage shown(const QImage &image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(out.pixel(x, y)) == 0)
                out.setPixel(x, y, qRgba(0, 0, 0, 0));
    return out;
}

} // namespace

class TestArtwork : public QObject {
    Q_OBJECT
private slots:
    void pictures_data();
    void pictures();
    void highlightChangesOnlyTheWord_data();
    void highlightChangesOnlyTheWord();
    void pressedLookCoversThePlate_data();
    void pressedLookCoversThePlate();
    void damagedPicturesAreRefused_data();
    void damagedPicturesAreRefused();
    void misalignedPictureIsCopied();
    void handCursor();
    void windowIcon();
    void sounds_data();
    void sounds();
    void windowsPictures_data();
    void windowsPictures();
    void windowsResourceScript();
    void windowsCursor();
    void windowsIcon();
    void deviceRectangles_data();
    void deviceRectangles();
    void deviceRectanglesCoverTheLayout();
    void scaledPicturesAreDrawnNotEnlarged_data();
    void scaledPicturesAreDrawnNotEnlarged();
    void picturesBetweenDrawnScales_data();
    void picturesBetweenDrawnScales();
    void scaledHandCursors_data();
    void scaledHandCursors();
    void scaledIcons_data();
    void scaledIcons();
    void windowsScaledCursorsAndIcons_data();
    void windowsScaledCursorsAndIcons();
    void windowsManifest();
    void damagedRunLengthsAreRefused_data();
    void damagedRunLengthsAreRefused();
};

// Every picture at every drawn scale: its device size by the rule of
// scales.h, and its name with the scale's suffix ("imgRunLight@2x").
void TestArtwork::pictures_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("percent");
    for (const scales::Scale &scale : scales::kDrawn)
        for (const Expected &e : expectedPictures())
            QTest::addRow("%s/%s%s", qPrintable(e.form), qPrintable(e.name), scale.suffix)
                << e.form << e.name << atScale(e.rect, scale.percent).size() << scale.percent;
}

// Exists through the artwork API at its exact size (at a scale: in device
// pixels, with the scale as its device pixel ratio), is the generator's
// 8-bit picture pixel for pixel, uses only its window's palette at that
// scale (the background's colour table) and is drawn from where it lies in
// the resources.
void TestArtwork::pictures()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, percent);
    const QPixmap pixmap = percent == 100 ? assets::picture(form, name) : assets::picture(form, name, percent / 100.0);
    QVERIFY2(!pixmap.isNull(), "missing");
    QCOMPARE(pixmap.size(), size);
    QCOMPARE(pixmap.devicePixelRatio(), percent / 100.0);

    const QString suffix = suffixOf(percent);
    name += suffix;
    const QImage image = stored(form, name);
    // Qt reads "@2x" in a file's name as its device pixel ratio; the pixels are what count.
    QImage generated(QStringLiteral(QUORVIA_ART_DIR "/%1/%2.png").arg(form, name));
    generated.setDevicePixelRatio(1);
    QCOMPARE(generated.format(), QImage::Format_Indexed8);
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32), generated.convertToFormat(QImage::Format_RGB32));
    const QList<QRgb> table =
        QImage(QStringLiteral(QUORVIA_ART_DIR "/%1/background%2.png").arg(form, suffix)).colorTable();
    QVERIFY(!table.isEmpty() && table.size() <= 256);
    const QSet<QRgb> palette(table.cbegin(), table.cend());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!palette.contains(image.pixel(x, y)))
                QFAIL(qPrintable(QStringLiteral("colour off the window's palette at %1,%2").arg(x).arg(y)));

    const QResource resource(QStringLiteral(":/art/%1/%2.px").arg(form, name));
    QCOMPARE(image.constBits(), resource.data() + screenimage::kHeaderSize);
}

void TestArtwork::damagedPicturesAreRefused_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray good = screenimage::encode(QImage(QSize(3, 2), QImage::Format_RGB32));
    auto withWord = [&](int at, quint32 value) {
        QByteArray d = good;
        std::memcpy(d.data() + at, &value, 4);
        return d;
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << good.left(screenimage::kHeaderSize);
    QTest::newRow("one byte short") << good.chopped(1);
    QTest::newRow("one byte over") << good + '\0';
    QTest::newRow("other magic") << QByteArray("QPX2") + good.mid(4);
    QTest::newRow("zero width") << withWord(4, 0);
    QTest::newRow("huge height") << withWord(8, 0x40000000u);
    QTest::newRow("8-bit format") << withWord(12, quint32(QImage::Format_Indexed8));
}

// Anything but a whole picture gives a null image, never a read past the data.
void TestArtwork::damagedPicturesAreRefused()
{
    QFETCH(QByteArray, data);
    QVERIFY(screenimage::decode(reinterpret_cast<const uchar *>(data.constData()), data.size()).isNull());
}

// Rows that do not lie on a 4-byte boundary are copied, not used in place.
void TestArtwork::misalignedPictureIsCopied()
{
    QImage source(QSize(5, 3), QImage::Format_RGB32);
    source.fill(qRgb(10, 200, 30));
    source.setPixel(4, 2, qRgb(1, 2, 3));
    const QByteArray encoded = screenimage::encode(source);
    QByteArray buffer(encoded.size() + 8, '\0');
    const quintptr base = reinterpret_cast<quintptr>(buffer.constData());
    const int offset = int((4 - base % 4) % 4) + 1;  // one byte past a 4-byte boundary
    std::memcpy(buffer.data() + offset, encoded.constData(), encoded.size());
    const uchar *at = reinterpret_cast<const uchar *>(buffer.constData()) + offset;
    const QImage image = screenimage::decode(at, encoded.size());
    QCOMPARE(image, source);
    QVERIFY(image.constBits() != at + screenimage::kHeaderSize);
}

void TestArtwork::highlightChangesOnlyTheWord_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("minSame");   // share of pixels left as they are
    QTest::addColumn<int>("percent");
    for (const scales::Scale &scale : scales::kDrawn)
        for (const Expected &e : expectedPictures())
            if (e.name.endsWith(QLatin1String("Light")))
                // The information dialog's highlight is the word alone, cut close.
                QTest::addRow("%s/%s%s", qPrintable(e.form), qPrintable(e.name), scale.suffix)
                    << e.form << e.name << (e.name == QLatin1String("imgOk2Light") ? 0.25 : 0.5) << scale.percent;
}

// Showing a highlight must change nothing but the word: most pixels and its
// whole outer ring equal what lies beneath it, colour for colour (so no
// dithering differs either), and its word is in the highlight colour.
void TestArtwork::highlightChangesOnlyTheWord()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(double, minSame);
    QFETCH(int, percent);
    const Expected e = find(form, name);
    const Expected base = find(form, e.base);
    const QString suffix = suffixOf(percent);
    const QImage light = stored(form, name + suffix).convertToFormat(QImage::Format_RGB32);
    const QImage under = stored(form, e.base + suffix)
                             .convertToFormat(QImage::Format_RGB32)
                             .copy(atScale(e.rect, percent).translated(-atScale(base.rect, percent).topLeft()));
    QCOMPARE(under.size(), light.size());
    int same = 0;
    for (int y = 0; y < light.height(); ++y)
        for (int x = 0; x < light.width(); ++x) {
            const bool equal = light.pixel(x, y) == under.pixel(x, y);
            same += equal;
            const bool border = x == 0 || y == 0 || x == light.width() - 1 || y == light.height() - 1;
            if (border && !equal)
                QFAIL(qPrintable(QStringLiteral("edge pixel %1,%2 differs from what lies beneath").arg(x).arg(y)));
        }
    QVERIFY2(same > minSame * light.width() * light.height(), "too much of the highlight differs");
    QVERIFY2(same < light.width() * light.height(), "the highlight equals what lies beneath it");
    QVERIFY2(hasColour(light, e.wordColour), "no pixel in the highlight's word colour");
}

void TestArtwork::pressedLookCoversThePlate_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("percent");
    for (const scales::Scale &scale : scales::kDrawn)
        for (const Expected &e : expectedPictures())
            if (e.name.endsWith(QLatin1String("Indent")))
                QTest::addRow("%s/%s%s", qPrintable(e.form), qPrintable(e.name), scale.suffix)
                    << e.form << e.name << scale.percent;
}

// A pressed look is a dark face with a bright green word: most of it is
// dark, and its word is pure green.
void TestArtwork::pressedLookCoversThePlate()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(int, percent);
    const Expected e = find(form, name);
    const QImage pressed = stored(form, name + suffixOf(percent)).convertToFormat(QImage::Format_RGB32);
    QVERIFY(hasColour(pressed, e.wordColour));
    int dark = 0;
    for (int y = 0; y < pressed.height(); ++y)
        for (int x = 0; x < pressed.width(); ++x)
            dark += qGray(pressed.pixel(x, y)) < 48;
    QVERIFY2(dark * 2 > pressed.width() * pressed.height(), "the pressed face is not dark");
}

void TestArtwork::handCursor()
{
    const QCursor cursor = assets::handCursor();
    QCOMPARE(cursor.hotSpot(), QPoint(6, 0));
    const QImage hand = assets::image(QStringLiteral("hand"));
    QCOMPARE(hand.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = hand.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            QCOMPARE(qAlpha(c), 255);
            colours.insert(c);
        }
    QCOMPARE(colours, (QSet<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
    // The hot spot is on the finger tip: opaque, with nothing above it and
    // the finger below it.
    QCOMPARE(hand.pixel(6, 0), qRgb(0, 0, 0));
    QCOMPARE(hand.pixel(6, 2), qRgb(255, 255, 255));
}

void TestArtwork::windowIcon()
{
    const QImage icon = assets::image(QStringLiteral("icon"));
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(coloursOf(icon).size() <= 16);
    QVERIFY(!assets::windowIcon().isNull());
}

void TestArtwork::sounds_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    QTest::newRow("roll-over") << QStringLiteral("ROLLOVER.WAV") << 30 << 50;
    QTest::newRow("click") << QStringLiteral("BUTCLICK.WAV") << 50 << 80;
}

// 22 050 Hz, 16-bit mono PCM of the stated length, peaks near -6 dBFS, and
// faded ends (no click when it starts or stops).
void TestArtwork::sounds()
{
    QFETCH(QString, file);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    const auto wave = readWave(QStringLiteral(QUORVIA_SOUND_DIR "/") + file);
    QVERIFY2(wave, "missing or not a wave file");
    QCOMPARE(wave->format, quint16(1));
    QCOMPARE(wave->channels, quint16(1));
    QCOMPARE(wave->rate, quint32(22050));
    QCOMPARE(wave->bits, quint16(16));
    const double ms = wave->samples.size() * 1000.0 / 22050;
    QVERIFY2(ms >= minMs && ms <= maxMs, qPrintable(QString::number(ms)));
    int peak = 0;
    for (qint16 s : wave->samples)
        peak = std::max(peak, std::abs(int(s)));
    const double dbfs = 20 * std::log10(peak / 32768.0);
    QVERIFY2(dbfs > -7.5 && dbfs < -4.5, qPrintable(QString::number(dbfs)));
    QVERIFY(std::abs(int(wave->samples.first())) < 400);
    QVERIFY(std::abs(int(wave->samples.last())) < 400);
}

void TestArtwork::windowsPictures_data() { pictures_data(); }

// Each BMP is what Windows loads as a 256-colour picture: BITMAPINFOHEADER,
// 8 bits, rows bottom-up, plain or run-length encoded (BI_RLE8, whichever is
// smaller), a palette of at most 256 entries that the pixel data follows at
// once and that every index stays within; every picture of a window at a
// scale carries that window's palette at that scale; and it shows exactly
// the pixels the Linux program draws.
void TestArtwork::windowsPictures()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, percent);
    const QString suffix = suffixOf(percent);
    name += suffix;
    const QString path = windowsArt(QStringLiteral("%1/%2.bmp").arg(form, name));
    const QByteArray d = fileBytes(path);
    QVERIFY2(d.size() > 54 && d.startsWith("BM"), "missing or not a BMP file");
    QCOMPARE(qFromLittleEndian<quint32>(d.constData() + 2), quint32(d.size()));
    const auto h = infoHeader(d, 14);
    QVERIFY(h);
    QCOMPARE(h->size, 40);
    QCOMPARE(QSize(h->width, h->height), size);  // a positive height: bottom-up
    QCOMPARE(h->planes, quint16(1));
    QCOMPARE(h->bits, quint16(8));
    const quint32 kRle8 = 1;
    QVERIFY2(h->compression == 0 || h->compression == kRle8, qPrintable(QString::number(h->compression)));
    QVERIFY2(h->colours >= 1 && h->colours <= 256, qPrintable(QString::number(h->colours)));
    const quint32 offset = qFromLittleEndian<quint32>(d.constData() + 10);
    QCOMPARE(offset, 14 + 40 + 4 * h->colours);
    const int stride = (size.width() + 3) / 4 * 4;
    const qsizetype plainSize = qsizetype(stride) * size.height();
    std::vector<std::uint8_t> rows;
    if (h->compression == kRle8) {
        // Encoded only where that saves room; the data as long as the
        // header says, and decoding to a whole picture.
        const quint32 imageSize = qFromLittleEndian<quint32>(d.constData() + 14 + 20);
        QCOMPARE(qsizetype(d.size()), qsizetype(offset) + qsizetype(imageSize));
        QVERIFY(qsizetype(imageSize) < plainSize);
        QVERIFY2(rle8::decode(reinterpret_cast<const std::uint8_t *>(d.constData()) + offset, imageSize, size.width(),
                              size.height(), std::size_t(stride), rows),
                 "the run-length encoding does not decode");
    } else {
        QCOMPARE(qsizetype(d.size()), qsizetype(offset) + plainSize);
        rows.assign(d.constData() + offset, d.constData() + d.size());
    }
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (rows[std::size_t(y) * stride + x] >= h->colours)
                QFAIL(qPrintable(QStringLiteral("index off the palette in row %1 from the bottom").arg(y)));

    const QByteArray background = fileBytes(windowsArt(form + QStringLiteral("/background%1.bmp").arg(suffix)));
    const auto bh = infoHeader(background, 14);
    QVERIFY(bh);
    QCOMPARE(paletteAt(d, 54, int(h->colours)), paletteAt(background, 54, int(bh->colours)));

    QImage decoded(size, QImage::Format_Indexed8);
    decoded.setColorTable(paletteAt(d, 54, int(h->colours)));
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(decoded.scanLine(size.height() - 1 - y), rows.data() + std::size_t(y) * stride, size.width());
    QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), stored(form, name).convertToFormat(QImage::Format_RGB32));
    QImage byQt;
    QVERIFY(byQt.loadFromData(d, "BMP"));
    QCOMPARE(byQt.convertToFormat(QImage::Format_RGB32), decoded.convertToFormat(QImage::Format_RGB32));
}

// The resource script names every picture once at each scale, as the
// Windows program loads it (form and name in upper case, then the scale's
// tag), the cursors, the icons and the manifest, and every file it names is
// there.
void TestArtwork::windowsResourceScript()
{
    QStringList expected;
    for (const scales::Scale &scale : scales::kDrawn) {
        const QString tag = QLatin1String(scale.tag), suffix = QLatin1String(scale.suffix);
        for (const Expected &e : expectedPictures())
            expected << QStringLiteral("%1_%2%3 BITMAP \"%4/%5%6.bmp\"")
                            .arg(e.form.toUpper(), e.name.toUpper(), tag, e.form, e.name, suffix);
        expected << QStringLiteral("HAND%1 CURSOR \"hand%2.cur\"").arg(tag, suffix);
        if (scale.percent != 100)
            expected << QStringLiteral("ICON%1 ICON \"icon%2.ico\"").arg(tag, suffix);
    }
    expected << QStringLiteral("1 ICON \"icon.ico\"") << QStringLiteral("1 24 \"quorvia.manifest\"");
    QStringList lines = QString::fromUtf8(fileBytes(windowsArt(QStringLiteral("art.rc")))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    expected.sort();
    QCOMPARE(lines, expected);
    for (const QString &line : lines) {
        const QString file = line.section(QLatin1Char('"'), 1, 1);
        QVERIFY2(QFile::exists(windowsArt(file)), qPrintable(file));
    }
}

// The .cur file: one 32 x 32 two-colour image with its hot spot on the
// finger tip, showing the hand the Linux program shows, see-through around.
void TestArtwork::windowsCursor()
{
    const IconFile cur = iconFile(windowsArt(QStringLiteral("hand.cur")));
    QCOMPARE(cur.type, quint16(2));
    QCOMPARE(cur.count, quint16(1));
    QCOMPARE(QSize(cur.width, cur.height), QSize(32, 32));
    QCOMPARE(QPoint(cur.field4, cur.field6), QPoint(6, 0));
    QVERIFY2(!cur.image.isNull(), "the cursor's image does not decode");
    QCOMPARE(cur.header.bits, quint16(1));
    QCOMPARE(cur.image, shown(assets::image(QStringLiteral("hand"))));
}

// The .ico file: one 32 x 32 image in 16 colours, the Linux program's icon.
void TestArtwork::windowsIcon()
{
    const IconFile ico = iconFile(windowsArt(QStringLiteral("icon.ico")));
    QCOMPARE(ico.type, quint16(1));
    QCOMPARE(ico.count, quint16(1));
    QCOMPARE(QSize(ico.width, ico.height), QSize(32, 32));
    QVERIFY2(!ico.image.isNull(), "the icon's image does not decode");
    QCOMPARE(ico.header.bits, quint16(4));
    QCOMPARE(ico.field6, quint16(4));
    QCOMPARE(ico.image, shown(assets::image(QStringLiteral("icon"))));
}

void TestArtwork::deviceRectangles_data()
{
    QTest::addColumn<QRect>("layout");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QRect>("device");
    const QRect runIndent = qrect(layout::games::commands[1].indent);  // 21, 123, 105 x 36
    QTest::newRow("96 dpi: as laid out") << runIndent << 100 << runIndent;
    // 31.5 and 184.5 down, 189 and 238.5 up: one pixel more than 1.5 times.
    QTest::newRow("150 %: odd edges grow outwards") << runIndent << 150 << QRect(31, 184, 158, 55);
    QTest::newRow("150 %: even edges stay exact") << QRect(20, 74, 104, 46) << 150 << QRect(30, 111, 156, 69);
    QTest::newRow("200 %: doubled") << runIndent << 200 << QRect(42, 246, 210, 72);
    QTest::newRow("150 %: the notice's background") << QRect(0, 0, 430, 239) << 150 << QRect(0, 0, 645, 359);
}

// Left and top rounded down, right and bottom rounded up.
void TestArtwork::deviceRectangles()
{
    QFETCH(QRect, layout);
    QFETCH(int, percent);
    QFETCH(QRect, device);
    QCOMPARE(atScale(layout, percent), device);
}

// No picture at any scale is smaller than its place scaled exactly, nor
// more than a pixel larger on any side, so pictures that meet in the layout
// still meet (or overlap by a pixel), never leave a gap.
void TestArtwork::deviceRectanglesCoverTheLayout()
{
    for (const scales::Scale &scale : scales::kDrawn)
        for (const Expected &e : expectedPictures()) {
            const QRect d = atScale(e.rect, scale.percent);
            const QRectF exact(QPointF(e.rect.topLeft()) * scale.percent / 100.0,
                               QSizeF(e.rect.size()) * scale.percent / 100.0);
            QVERIFY2(QRectF(d).contains(exact), qPrintable(e.name));
            QVERIFY2(QRectF(d).adjusted(1, 1, -1, -1).width() < exact.width()
                         && QRectF(d).adjusted(1, 1, -1, -1).height() < exact.height(),
                     qPrintable(e.name));
        }
}

void TestArtwork::scaledPicturesAreDrawnNotEnlarged_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    for (const Expected &e : expectedPictures())
        if (e.name.endsWith(QLatin1String("Light")) || e.name == QLatin1String("background"))
            QTest::addRow("%s/%s", qPrintable(e.form), qPrintable(e.name)) << e.form << e.name;
}

// The 2x picture is drawn anew: its word's edges have pixels of their own,
// so it is not the 1x picture with each pixel doubled.
void TestArtwork::scaledPicturesAreDrawnNotEnlarged()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    const QImage one = stored(form, name).convertToFormat(QImage::Format_RGB32);
    const QImage two = stored(form, name + QStringLiteral("@2x")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(two.size(), one.size() * 2);
    int blocky = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            const QRgb c = two.pixel(2 * x, 2 * y);
            blocky += c == two.pixel(2 * x + 1, 2 * y) && c == two.pixel(2 * x, 2 * y + 1)
                      && c == two.pixel(2 * x + 1, 2 * y + 1);
        }
    // Flat areas are alike whatever the drawing; the edges give it away.
    QVERIFY2(blocky < 0.97 * one.width() * one.height(), qPrintable(QString::number(blocky)));
    QVERIFY(two != one.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

void TestArtwork::picturesBetweenDrawnScales_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("from");    // the drawn scale it is reduced from
    QTest::newRow("125 %") << 1.25 << QStringLiteral("@1.5x");
    QTest::newRow("175 %") << 1.75 << QStringLiteral("@2x");
    QTest::newRow("300 %: the largest, enlarged") << 3.0 << QStringLiteral("@2x");
}

// A ratio between the drawn ones takes the next drawn picture above it,
// reduced to the ratio, never the 96 dpi one enlarged.
void TestArtwork::picturesBetweenDrawnScales()
{
    QFETCH(double, ratio);
    QFETCH(QString, from);
    const QString form = QStringLiteral("frmGames"), name = QStringLiteral("imgRunLight");
    const QPixmap pixmap = assets::picture(form, name, ratio);
    const QSize base = stored(form, name).size();
    QCOMPARE(pixmap.devicePixelRatio(), ratio);
    QCOMPARE(pixmap.size(), QSize(qCeil(base.width() * ratio), qCeil(base.height() * ratio)));
    const QImage expected = stored(form, name + from)
                                .scaled(pixmap.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_RGB32);
    QImage drawn = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
    drawn.setDevicePixelRatio(1);
    QCOMPARE(drawn, expected);
}

void TestArtwork::scaledHandCursors_data()
{
    QTest::addColumn<int>("percent");
    for (const scales::Scale &scale : scales::kDrawn)
        QTest::addRow("%d %%", scale.percent) << scale.percent;
}

// At each scale: 32 x 32 times the scale, black, white and see-through, the
// finger tip on the hot spot (6, 0) times the scale with the white finger
// below it; the cursor's hot spot is in the pixmap's pixels, as the X11
// platform takes it.
void TestArtwork::scaledHandCursors()
{
    QFETCH(int, percent);
    const QImage hand = assets::image(QStringLiteral("hand") + suffixOf(percent));
    const int n = scales::ceilScaled(32, percent), tip = scales::floorScaled(6, percent);
    QCOMPARE(hand.size(), QSize(n, n));
    QSet<QRgb> colours;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            if (qAlpha(hand.pixel(x, y)) != 0)
                colours.insert(hand.pixel(x, y));
    QCOMPARE(colours, (QSet<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
    QCOMPARE(hand.pixel(tip, 0), qRgb(0, 0, 0));
    QCOMPARE(hand.pixel(tip, scales::floorScaled(2, percent)), qRgb(255, 255, 255));
    QCOMPARE(qAlpha(hand.pixel(0, 0)), 0);

    const QCursor cursor = assets::handCursor(percent / 100.0);
    QCOMPARE(cursor.hotSpot(), QPoint(tip, 0));
    QCOMPARE(cursor.pixmap().size(), QSize(n, n));
    QCOMPARE(cursor.pixmap().devicePixelRatio(), percent / 100.0);
}

void TestArtwork::scaledIcons_data() { scaledHandCursors_data(); }

// The icon at each scale, in 16 colours at most; the window icon holds them all.
void TestArtwork::scaledIcons()
{
    QFETCH(int, percent);
    const QImage icon = assets::image(QStringLiteral("icon") + suffixOf(percent));
    const int n = scales::ceilScaled(32, percent);
    QCOMPARE(icon.size(), QSize(n, n));
    QVERIFY(coloursOf(icon).size() <= 16);
    QVERIFY(assets::windowIcon().availableSizes().contains(QSize(n, n)));
}

void TestArtwork::windowsScaledCursorsAndIcons_data() { scaledHandCursors_data(); }

// The Windows program's cursor and icon at each scale: one image each, the
// hot spot on the finger tip, the same pixels as the Linux program's.
void TestArtwork::windowsScaledCursorsAndIcons()
{
    QFETCH(int, percent);
    const QString suffix = suffixOf(percent);
    const int n = scales::ceilScaled(32, percent);
    const IconFile cur = iconFile(windowsArt(QStringLiteral("hand%1.cur").arg(suffix)));
    QCOMPARE(cur.type, quint16(2));
    QCOMPARE(cur.count, quint16(1));
    QCOMPARE(QSize(cur.width, cur.height), QSize(n, n));
    QCOMPARE(QPoint(cur.field4, cur.field6), QPoint(scales::floorScaled(6, percent), 0));
    QCOMPARE(cur.header.bits, quint16(1));
    QCOMPARE(cur.image, shown(assets::image(QStringLiteral("hand") + suffix)));
    const IconFile ico = iconFile(windowsArt(QStringLiteral("icon%1.ico").arg(suffix)));
    QCOMPARE(ico.type, quint16(1));
    QCOMPARE(QSize(ico.width, ico.height), QSize(n, n));
    QCOMPARE(ico.header.bits, quint16(4));
    QCOMPARE(ico.image, shown(assets::image(QStringLiteral("icon") + suffix)));
}

// The program asks for the density of each monitor (per-monitor v2, and
// per-monitor where v2 is unknown), so that Windows does not enlarge it.
void TestArtwork::windowsManifest()
{
    const QString manifest = QString::fromUtf8(fileBytes(windowsArt(QStringLiteral("quorvia.manifest"))));
    QVERIFY(manifest.contains(QLatin1String("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                                            "PerMonitorV2, PerMonitor</dpiAwareness>")));
    QVERIFY(manifest.contains(QLatin1String(">true/pm</dpiAware>")));
}

void TestArtwork::damagedRunLengthsAreRefused_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("good");
    // A 4 x 2 picture.
    QTest::newRow("runs and a literal") << QByteArray("\x04\x07\x00\x00\x00\x03\x01\x02\x03\x00\x01\x05\x00\x01", 14) << true;
    QTest::newRow("a jump") << QByteArray("\x00\x02\x01\x01\x02\x09\x00\x01", 8) << true;
    QTest::newRow("no end of the bitmap") << QByteArray("\x04\x07\x00\x00\x04\x07", 6) << false;
    QTest::newRow("a run past the row") << QByteArray("\x05\x07\x00\x01", 4) << false;
    QTest::newRow("a literal past the data") << QByteArray("\x00\x04\x01\x02", 4) << false;
    QTest::newRow("a row past the picture") << QByteArray("\x00\x00\x00\x00\x01\x07\x00\x01", 8) << false;
    QTest::newRow("a jump past the picture") << QByteArray("\x00\x02\x00\x05\x00\x01", 6) << false;
    QTest::newRow("empty") << QByteArray() << false;
}

// Damaged encodings are refused rather than read or written past their
// ends; good ones fill the picture as laid out.
void TestArtwork::damagedRunLengthsAreRefused()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, good);
    std::vector<std::uint8_t> rows;
    QCOMPARE(rle8::decode(reinterpret_cast<const std::uint8_t *>(data.constData()), std::size_t(data.size()), 4, 2, 4,
                          rows),
             good);
    if (QByteArray(QTest::currentDataTag()) == "runs and a literal")
        QCOMPARE(rows, (std::vector<std::uint8_t>{7, 7, 7, 7, 1, 2, 3, 5}));
    if (QByteArray(QTest::currentDataTag()) == "a jump")
        QCOMPARE(rows, (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 9, 9, 0}));
}

QTEST_MAIN(TestArtwork)
#include "test_artwork.moc"
