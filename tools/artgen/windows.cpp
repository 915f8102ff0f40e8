#include "windows.h"

#include "paint.h"
#include "ui/layout.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>
#include <stdexcept>

namespace artgen {

namespace {

QRect rect(const layout::Rect &r) { return QRect(r.x, r.y, r.w, r.h); }

// One image button as drawn: its plate, its Light rectangle (the word lies
// inside it) and its Indent rectangle (empty: no pressed picture).
struct Button {
    QString name, text;
    QRect plate, light, indent;
};

// Grayscale8 mask of the pixels that still show the bare backdrop.
QImage bareMask(const QImage &image, const QImage &bare)
{
    QImage mask(image.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *a = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const QRgb *b = reinterpret_cast<const QRgb *>(bare.constScanLine(y));
        uchar *m = mask.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            m[x] = a[x] == b[x] ? 255 : 0;
    }
    return mask;
}

QList<Word> placeGroup(const QList<Button> &buttons, qreal maxSize)
{
    QStringList texts;
    QList<QRect> plates, lights;
    for (const Button &b : buttons) {
        texts << b.text;
        plates << b.plate;
        lights << b.light;
    }
    const qreal size = fitWords(texts, plates, lights, maxSize);
    QList<Word> words;
    for (const Button &b : buttons) {
        bool ok = false;
        words << placeWord(b.text, boldFont(size), b.plate, b.light, &ok);
        if (!ok)
            throw std::runtime_error(qPrintable(QStringLiteral("the word of %1 does not fit its plate").arg(b.name)));
        if (!b.light.contains(words.last().ink))
            throw std::runtime_error(qPrintable(QStringLiteral("the word of %1 leaves its Light picture").arg(b.name)));
    }
    return words;
}

// Draws the plates and resting words of `buttons` onto the window and adds
// their Light and Indent pictures.
void addButtons(Window &w, QImage &bg, const QList<Button> &buttons, const QList<Word> &words, Look lightLook)
{
    const QImage underPlates = bg.copy();
    {
        QPainter p(&bg);
        for (const Button &b : buttons)
            drawPlate(p, b.plate, false);
    }
    const QImage clean = bg.copy();
    {
        QPainter p(&bg);
        for (const Word &word : words)
            drawWord(p, word, Look::Rest);
    }
    for (int i = 0; i < buttons.size(); ++i) {
        const Button &b = buttons[i];
        if (!b.light.isEmpty()) {
            Picture pic{QStringLiteral("img%1Light").arg(b.name), b.light, clean.copy(b.light),
                        QStringLiteral("background"), words[i].ink, true};
            QPainter p(&pic.full);
            p.translate(-b.light.topLeft());
            drawWord(p, words[i], lightLook);
            p.end();
            w.pictures << pic;
        }
        if (!b.indent.isEmpty()) {
            Picture pic{QStringLiteral("img%1Indent").arg(b.name), b.indent, underPlates.copy(b.indent),
                        QStringLiteral("background"), QRect(), false};
            QPainter p(&pic.full);
            p.translate(-b.indent.topLeft());
            drawPlate(p, b.plate, true);
            drawWord(p, words[i], Look::Pressed);
            p.end();
            w.pictures << pic;
        }
    }
}

Palette reservedColours()
{
    Palette r{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 255, 0), colour::wordOutline.rgb(),
              colour::restWord.rgb(), colour::pressedTop.rgb(), colour::pressedBottom.rgb(),
              colour::pressedShadow.rgb(), colour::pressedLightEdge.rgb(), colour::plateLightEdge.rgb(),
              colour::plateDarkEdge.rgb()};
    // Anti-aliased edges of the green word on the dark face and of the
    // outlined words.
    for (int i = 1; i < 8; ++i) {
        const double t = i / 8.0;
        r << qRgb(int(colour::pressedBottom.red() * (1 - t)), int(colour::pressedBottom.green() * (1 - t) + 255 * t),
                  int(colour::pressedBottom.blue() * (1 - t)));
        r << qRgb(int(16 + 239 * t), int(18 + 237 * t), int(24 + 231 * t));
        r << qRgb(int(16 * (1 - t)), int(18 + 237 * t), int(24 * (1 - t)));
    }
    return r;
}

void drawParagraphs(QImage &bg, const QRect &area, const QStringList &paragraphs, qreal pixelSize)
{
    QPainter p(&bg);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = boldFont(pixelSize);
    p.setFont(font);
    const int gap = int(QFontMetricsF(font).height() * 0.55);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    QList<int> heights;
    int total = -gap;
    for (const QString &text : paragraphs) {
        heights << p.boundingRect(QRect(area.left(), 0, area.width(), 1000), flags, text).height();
        total += heights.last() + gap;
    }
    if (total > area.height())
        throw std::runtime_error("the dialog's text does not fit above its buttons");
    // The block sits in the middle of its area.
    int y = area.top() + (area.height() - total) / 2;
    for (int i = 0; i < paragraphs.size(); ++i) {
        const QRect box(area.left(), y, area.width(), heights[i]);
        // A soft shadow down and right keeps the words crisp on the texture.
        p.setPen(QColor(4, 4, 16, 170));
        p.drawText(box.translated(1, 1), flags, paragraphs[i]);
        p.setPen(colour::paragraph);
        p.drawText(box, flags, paragraphs[i]);
        y += heights[i] + gap;
    }
}

// A thin frame for windows without a title bar: light top and left, dark
// bottom and right.
void drawFrame(QImage &bg)
{
    QPainter p(&bg);
    const QRect r = bg.rect();
    p.fillRect(QRect(0, 0, r.width(), 1), QColor(150, 150, 200));
    p.fillRect(QRect(0, 0, 1, r.height()), QColor(150, 150, 200));
    p.fillRect(QRect(1, r.height() - 1, r.width() - 1, 1), QColor(4, 4, 12));
    p.fillRect(QRect(r.width() - 1, 1, 1, r.height() - 1), QColor(4, 4, 12));
    p.fillRect(QRect(1, 1, r.width() - 2, 1), QColor(70, 70, 120));
    p.fillRect(QRect(1, 1, 1, r.height() - 2), QColor(70, 70, 120));
}

void drawStars(QImage &bg, const QList<QRect> &avoid, int count, quint32 seed)
{
    QRandomGenerator rng(seed);
    QPainter p(&bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(rng.bounded(bg.width()), rng.bounded(bg.height()));
        bool clear = true;
        for (const QRect &r : avoid)
            clear = clear && !r.adjusted(-6, -6, 6, 6).contains(at.toPoint());
        if (!clear)
            continue;
        const int alpha = 30 + rng.bounded(70);
        const qreal size = 0.6 + rng.bounded(0.8);
        p.setBrush(QColor(200, 210, 255, alpha / 3));
        p.drawEllipse(at, size * 2, size * 2);
        p.setBrush(QColor(230, 235, 255, alpha));
        p.drawEllipse(at, size * 0.7, size * 0.7);
    }
}

} // namespace

Window gamesWindow()
{
    namespace L = layout::games;
    Window w;
    w.form = QStringLiteral("frmGames");
    w.reserved = reservedColours();
    QImage bg = backdrop(QSize(L::width, L::height), false, 11);
    const QImage bare = bg.copy();

    const QRect status = rect(L::lblStatus).adjusted(-6, -5, 6, 5);
    const QRect logo(432, 375, 158, 84);
    const QRect title(16, 8, 300, 66);
    drawStars(bg, {title, status, QRect(20, 70, 110, 280)}, 90, 5);

    {
        QPainter p(&bg);
        p.setRenderHint(QPainter::Antialiasing);
        drawPane(p, rect(L::lstGameListing));
        drawPane(p, rect(L::txtDesc));
        // Status strip: a dark rounded rectangle with a thin light rim.
        p.setPen(QPen(QColor(150, 160, 220, 150), 1));
        p.setBrush(QColor(4, 6, 18, 235));
        p.drawRoundedRect(QRectF(status).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    }
    // Title wordmark with a soft glow, subtitle beneath.
    drawGlowText(bg, QPointF(22, 50), boldFont(46), QStringLiteral("Quorvia"), QColor(238, 240, 255),
                 QColor(120, 130, 255), 4);
    {
        QPainter p(&bg);
        p.setRenderHint(QPainter::TextAntialiasing);
        QFont sub = boldFont(14);
        sub.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
        p.setFont(sub);
        p.setPen(QColor(172, 180, 232));
        p.drawText(QPointF(25, 68), QStringLiteral("Games Collection"));
    }
    // Logo panel: a plate with the disc emblem and the small wordmark, the
    // two lines of text centred in the room right of the emblem.
    {
        QPainter p(&bg);
        drawPlate(p, logo, false);
        const qreal radius = 26;
        drawDiscEmblem(p, QPointF(logo.left() + 9 + radius, logo.center().y() + 0.5), radius);
        const QRectF room(logo.left() + 2 * radius + 16, logo.top() + 4, 0, logo.height() - 8);
        const qreal roomWidth = logo.right() - 6 - room.left();
        p.setRenderHint(QPainter::TextAntialiasing);
        const QFont markFont = boldFont(21);
        QFont subFont = boldFont(9);
        const qreal markW = QFontMetricsF(markFont).horizontalAdvance(QStringLiteral("Quorvia"));
        const qreal subW = QFontMetricsF(subFont).horizontalAdvance(QStringLiteral("Games Collection"));
        if (markW > roomWidth || subW > roomWidth)
            throw std::runtime_error("the logo panel's words do not fit");
        const qreal cx = room.left() + roomWidth / 2;
        const qreal base = std::round(logo.center().y() + 3);
        p.setFont(markFont);
        p.setPen(QColor(255, 255, 255, 150));
        p.drawText(QPointF(std::round(cx - markW / 2) + 1, base + 1), QStringLiteral("Quorvia"));
        p.setPen(QColor(58, 34, 130));
        p.drawText(QPointF(std::round(cx - markW / 2), base), QStringLiteral("Quorvia"));
        p.setFont(subFont);
        p.setPen(colour::restWord);
        p.drawText(QPointF(std::round(cx - subW / 2), base + 15), QStringLiteral("Games Collection"));
    }

    QList<Button> commands, copy, categories;
    for (const layout::Button &b : L::commands)
        (QString::fromLatin1(b.word).contains(QLatin1Char('\n')) ? copy : commands)
            << Button{QString::fromLatin1(b.name), QString::fromLatin1(b.word), rect(b.indent), rect(b.light),
                      rect(b.indent)};
    for (const layout::Button &b : L::categories)
        categories << Button{QString::fromLatin1(b.name), QString::fromLatin1(b.word), rect(b.indent), rect(b.light),
                             rect(b.indent)};
    auto minHeight = [](const QList<Button> &bs) {
        int h = 1000;
        for (const Button &b : bs)
            h = std::min(h, b.plate.height());
        return h;
    };
    QList<Button> all = commands + copy + categories;
    QList<Word> words = placeGroup(commands, 0.6 * minHeight(commands));
    words += placeGroup(copy, 0.6 * minHeight(commands));
    words += placeGroup(categories, 0.6 * minHeight(categories));
    addButtons(w, bg, all, words, Look::Lit);

    w.background = bg;
    w.ditherMask = bareMask(bg, bare);
    return w;
}

Window cdWindow()
{
    namespace L = layout::cd;
    Window w;
    w.form = QStringLiteral("frmCD");
    w.reserved = reservedColours();
    const QImage bg = backdrop(QSize(L::width, L::height), true, 23);
    w.background = bg;
    w.ditherMask = bareMask(bg, bg);

    // The button is not part of the background: its look at rest is a
    // picture of its own, and the lit word lies on that picture.
    const QRect plate = rect(L::imgOk2);
    bool ok = false;
    const QString okWord = QString::fromUtf8(L::okWord);
    const Word word = placeWord(okWord, boldFont(fitWords({okWord}, {plate},
                                                                         {rect(L::imgOk2Light)}, plate.height() * 0.6)),
                                plate, rect(L::imgOk2Light), &ok);
    if (!ok)
        throw std::runtime_error("the word Ok does not fit");

    QImage rest = bg.copy(plate);
    {
        QPainter p(&rest);
        p.translate(-plate.topLeft());
        drawPlate(p, plate, false);
    }
    const QImage cleanPlate = rest.copy();
    {
        QPainter p(&rest);
        p.translate(-plate.topLeft());
        drawWord(p, word, Look::Rest);
    }
    w.pictures << Picture{QStringLiteral("imgOk2"), plate, rest, QStringLiteral("background"), QRect(), false};

    const QRect light = rect(L::imgOk2Light);
    Picture lit{QStringLiteral("imgOk2Light"), light, cleanPlate.copy(light.translated(-plate.topLeft())),
                QStringLiteral("imgOk2"), word.ink, true};
    {
        QPainter p(&lit.full);
        p.translate(-light.topLeft());
        drawWord(p, word, Look::Lit);
    }
    w.pictures << lit;

    const QRect indent = rect(L::imgOk2Indent);
    Picture pressed{QStringLiteral("imgOk2Indent"), indent, bg.copy(indent), QStringLiteral("background"), QRect(),
                    false};
    {
        QPainter p(&pressed.full);
        p.translate(-indent.topLeft());
        drawPlate(p, indent, true);
        drawWord(p, word, Look::Pressed);
    }
    w.pictures << pressed;
    return w;
}

namespace {

template <class Paragraphs> QStringList paragraphList(const Paragraphs &paragraphs)
{
    QStringList list;
    for (const char *p : paragraphs)
        list << QString::fromUtf8(p);
    return list;
}

// The two notices: backdrop, frame, paragraphs, two plates with a green
// highlight.
Window noticeWindow(const QString &form, QSize size, const QStringList &paragraphs,
                    const layout::Button (&buttons)[2], quint32 seed)
{
    Window w;
    w.form = form;
    w.reserved = reservedColours();
    QImage bg = backdrop(size, false, seed);
    const QImage bare = bg.copy();
    drawFrame(bg);
    drawParagraphs(bg, QRect(30, 16, size.width() - 60, 148), paragraphs, 14);

    QList<Button> bs;
    for (const layout::Button &b : buttons)
        bs << Button{QString::fromLatin1(b.name), QString::fromLatin1(b.word), rect(b.label), rect(b.light), QRect()};
    const QList<Word> words = placeGroup(bs, 0.6 * bs[0].plate.height());
    addButtons(w, bg, bs, words, Look::LitGreen);
    w.background = bg;
    w.ditherMask = bareMask(bg, bare);
    return w;
}


// The notice's progress bar: a trough in the dark face of the pressed plates
// with a 1 px inset bevel, and a green fill with a lighter top row, which the
// notice cuts to the fraction done.
void addProgressBar(Window &w, const QRect &bar, const QRect &fill)
{
    Picture trough{QStringLiteral("imgCopyTrough"), bar, QImage(bar.size(), QImage::Format_RGB32),
                   QStringLiteral("background"), QRect(), false};
    {
        QPainter p(&trough.full);
        QLinearGradient face(0, 0, 0, bar.height());
        face.setColorAt(0, colour::pressedTop);
        face.setColorAt(1, colour::pressedBottom);
        p.fillRect(trough.full.rect(), face);
        const int r = bar.width() - 1, b = bar.height() - 1;
        p.setPen(colour::pressedDarkEdge);
        p.drawLine(0, 0, r, 0);
        p.drawLine(0, 0, 0, b);
        p.setPen(colour::pressedLightEdge);
        p.drawLine(1, b, r, b);
        p.drawLine(r, 1, r, b);
    }
    Picture green{QStringLiteral("imgCopyFill"), fill, QImage(fill.size(), QImage::Format_RGB32),
                  QStringLiteral("background"), QRect(), false};
    green.full.fill(colour::green);
    {
        QPainter p(&green.full);
        p.setPen(colour::fillEdge);
        p.drawLine(0, 0, fill.width() - 1, 0);
    }
    w.reserved << colour::fillEdge.rgb();
    w.pictures << trough << green;
}

} // namespace

Window hddWindow()
{
    namespace L = layout::hdd;
    Window w = noticeWindow(QStringLiteral("frmHDD"), QSize(L::backgroundWidth, L::backgroundHeight),
                            paragraphList(L::paragraphs),
                            L::buttons, 31);
    addProgressBar(w, rect(L::prgCopy), rect(L::prgCopyFill));
    return w;
}

Window exitWindow()
{
    namespace L = layout::exitdlg;
    return noticeWindow(QStringLiteral("frmExit"), QSize(L::width, L::height),
                        paragraphList(L::paragraphs),
                        L::buttons, 37);
}

Window saveWindow()
{
    namespace L = layout::save;
    Window w;
    w.form = QStringLiteral("frmSave");
    w.reserved = reservedColours();
    QImage bg = backdrop(QSize(L::backgroundWidth, L::backgroundHeight), false, 41);
    const QImage bare = bg.copy();
    {
        QPainter p(&bg);
        drawPane(p, rect(L::txtFolderPath));
        drawPane(p, rect(L::dirSave));
        drawPane(p, rect(L::drvSave));
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(boldFont(13));
        for (int shadow = 1; shadow >= 0; --shadow) {
            p.setPen(shadow ? QColor(4, 4, 16, 170) : colour::paragraph);
            p.drawText(QPointF(L::txtFolderPath.x + shadow, L::txtFolderPath.y - 6 + shadow), QStringLiteral("Folders:"));
            p.drawText(QPointF(L::drvSave.x + shadow, L::drvSave.y - 6 + shadow), QStringLiteral("Drives:"));
        }
        // The emblem and the small wordmark below the buttons.
        const qreal cx = L::buttons[0].indent.x + L::buttons[0].indent.w / 2.0;
        drawDiscEmblem(p, QPointF(cx, 136), 28);
        p.setFont(boldFont(15));
        const QString mark = QStringLiteral("Quorvia");
        const qreal wMark = QFontMetricsF(p.font()).horizontalAdvance(mark);
        p.setPen(QColor(238, 240, 255));
        p.drawText(QPointF(std::round(cx - wMark / 2), 188), mark);
    }
    QList<Button> bs;
    for (const layout::Button &b : L::buttons)
        bs << Button{QString::fromLatin1(b.name), QString::fromLatin1(b.word), rect(b.indent), rect(b.light),
                     rect(b.indent)};
    // Narrow plates: a smaller word leaves air at the sides.
    const QList<Word> words = placeGroup(bs, std::min(16.0, 0.6 * bs[0].plate.height()));
    addButtons(w, bg, bs, words, Look::Lit);
    w.background = bg;
    w.ditherMask = bareMask(bg, bare);
    return w;
}

QImage handCursor()
{
    // X black outline, o white fill, anything else transparent. The tip of
    // the index finger is (6, 0).
    static const char *const rows[] = {
        ".....XXX",
        "....XoooX",
        "...XoooooX",
        "...XoooooX",
        "...XoooooX",
        "...XoooooX",
        "...XoooooX",
        "...XoooooXXXXX",
        "...XoooooXooooXXXXX",
        "...XoooooXooooXooooX",
        "...XoooooXooooXooooXXXX",
        "...XoooooXooooXooooXoooX",
        ".XXXoooooXooooXooooXoooX",
        "XooXoooooXooooXooooXoooX",
        "XoooXooooooooooooooooooX",
        "XooooXoooooooooooooooooX",
        ".XoooooooooooooooooooooX",
        ".XooooooooooooooooooooX",
        "..XoooooooooooooooooooX",
        "..XoooooooooooooooooooX",
        "...XooooooooooooooooooX",
        "...XoooooooooooooooooX",
        "....XooooooooooooooooX",
        "....XooooooooooooooooX",
        "....XXXXXXXXXXXXXXXXXX",
    };
    QImage image(32, 32, QImage::Format_Indexed8);
    image.setColorTable({qRgba(0, 0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(0);
    for (int y = 0; y < int(std::size(rows)); ++y)
        for (int x = 0; rows[y][x]; ++x)
            image.setPixel(x, y, rows[y][x] == 'X' ? 1 : rows[y][x] == 'o' ? 2 : 0);
    return image;
}

QImage windowIcon()
{
    QImage full(32, 32, QImage::Format_ARGB32_Premultiplied);
    full.fill(Qt::transparent);
    {
        QPainter p(&full);
        drawDiscEmblem(p, QPointF(15.5, 15.5), 15);
    }
    // 16 colours: transparent and 15 opaque ones from the drawing.
    QImage opaque(32, 32, QImage::Format_RGB32);
    QList<QRgb> solid;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = full.pixel(x, y);
            if (qAlpha(c) >= 128)
                solid << (QColor::fromRgba(c).rgb());
        }
    QImage strip(int(solid.size()), 1, QImage::Format_RGB32);
    for (int i = 0; i < solid.size(); ++i)
        strip.setPixel(i, 0, solid[i]);
    Palette palette = buildPalette({strip}, {}, 15);
    Quantiser q(palette);
    QImage icon(32, 32, QImage::Format_Indexed8);
    QList<QRgb> table{qRgba(0, 0, 0, 0)};
    table += palette;
    icon.setColorTable(table);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = full.pixel(x, y);
            icon.setPixel(x, y, qAlpha(c) >= 128 ? 1 + q.nearest(QColor::fromRgba(c).rgb()) : 0);
        }
    return icon;
}

} // namespace artgen
