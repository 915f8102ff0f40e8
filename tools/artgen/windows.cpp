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

// A painter on a device-pixel picture whose top left lies at `deviceTopLeft`
// of the window, that takes the layout's coordinates of the window.
void toLayout(QPainter &p, const QPoint &deviceTopLeft, const Scaler &scale)
{
    p.translate(-deviceTopLeft);
    p.scale(scale.factor(), scale.factor());
}

// Draws the plates and resting words of `buttons` onto the window and adds
// their Light and Indent pictures. The buttons' rectangles are the layout's;
// the pictures get their device rectangles.
void addButtons(Window &w, QImage &bg, const QList<Button> &buttons, const QList<Word> &words, Look lightLook)
{
    const Scaler &scale = w.scale;
    const QImage underPlates = bg.copy();
    {
        QPainter p(&bg);
        for (const Button &b : buttons)
            drawPlate(p, scale.rect(b.plate), false, scale);
    }
    const QImage clean = bg.copy();
    {
        QPainter p(&bg);
        toLayout(p, QPoint(), scale);
        for (const Word &word : words)
            drawWord(p, word, Look::Rest);
    }
    for (int i = 0; i < buttons.size(); ++i) {
        const Button &b = buttons[i];
        if (!b.light.isEmpty()) {
            const QRect at = scale.rect(b.light);
            Picture pic{QStringLiteral("img%1Light").arg(b.name), at, clean.copy(at), QStringLiteral("background"),
                        scale.rect(words[i].ink), true};
            QPainter p(&pic.full);
            toLayout(p, at.topLeft(), scale);
            drawWord(p, words[i], lightLook);
            p.end();
            w.pictures << pic;
        }
        if (!b.indent.isEmpty()) {
            const QRect at = scale.rect(b.indent);
            Picture pic{QStringLiteral("img%1Indent").arg(b.name), at, underPlates.copy(at),
                        QStringLiteral("background"), QRect(), false};
            QPainter p(&pic.full);
            p.translate(-at.topLeft());
            drawPlate(p, scale.rect(b.plate), true, scale);
            p.scale(scale.factor(), scale.factor());
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

void drawParagraphs(QImage &bg, const QRect &area, const QStringList &paragraphs, qreal pixelSize,
                    const Scaler &scale)
{
    QPainter p(&bg);
    p.scale(scale.factor(), scale.factor());
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
void drawFrame(QImage &bg, const Scaler &scale)
{
    QPainter p(&bg);
    const QRect r = bg.rect();
    const int e = scale.px(1);
    p.fillRect(QRect(0, 0, r.width(), e), QColor(150, 150, 200));
    p.fillRect(QRect(0, 0, e, r.height()), QColor(150, 150, 200));
    p.fillRect(QRect(e, r.height() - e, r.width() - e, e), QColor(4, 4, 12));
    p.fillRect(QRect(r.width() - e, e, e, r.height() - e), QColor(4, 4, 12));
    p.fillRect(QRect(e, e, r.width() - 2 * e, e), QColor(70, 70, 120));
    p.fillRect(QRect(e, e, e, r.height() - 2 * e), QColor(70, 70, 120));
}

// The same stars at every scale: placed in the layout's coordinates.
void drawStars(QImage &bg, QSize size, const QList<QRect> &avoid, int count, quint32 seed, const Scaler &scale)
{
    QRandomGenerator rng(seed);
    QPainter p(&bg);
    p.scale(scale.factor(), scale.factor());
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(rng.bounded(size.width()), rng.bounded(size.height()));
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

Window gamesWindow(const Scaler &scale)
{
    namespace L = layout::games;
    Window w;
    w.form = QStringLiteral("frmGames");
    w.reserved = reservedColours();
    w.scale = scale;
    const qreal k = scale.factor();
    const QSize size(L::width, L::height);
    QImage bg = backdrop(scale.size(size), false, 11, scale);
    const QImage bare = bg.copy();

    const QRect status = rect(L::lblStatus).adjusted(-6, -5, 6, 5);
    const QRect logo(432, 375, 158, 84);
    const QRect title(16, 8, 300, 66);
    drawStars(bg, size, {title, status, QRect(20, 70, 110, 280)}, 90, 5, scale);

    {
        QPainter p(&bg);
        p.setRenderHint(QPainter::Antialiasing);
        drawPane(p, rect(L::lstGameListing), scale);
        drawPane(p, rect(L::txtDesc), scale);
        // Status strip: a dark rounded rectangle with a thin light rim.
        p.scale(k, k);
        p.setPen(QPen(QColor(150, 160, 220, 150), 1));
        p.setBrush(QColor(4, 6, 18, 235));
        p.drawRoundedRect(QRectF(status).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    }
    // Title wordmark with a soft glow, subtitle beneath.
    drawGlowText(bg, QPointF(22, 50), boldFont(46), QStringLiteral("Quorvia"), QColor(238, 240, 255),
                 QColor(120, 130, 255), 4, scale);
    {
        QPainter p(&bg);
        p.scale(k, k);
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
        drawPlate(p, scale.rect(logo), false, scale);
        p.scale(k, k);
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

Window cdWindow(const Scaler &scale)
{
    namespace L = layout::cd;
    Window w;
    w.form = QStringLiteral("frmCD");
    w.reserved = reservedColours();
    w.scale = scale;
    const QImage bg = backdrop(scale.size(QSize(L::width, L::height)), true, 23, scale);
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

    const QRect platePx = scale.rect(plate);
    QImage rest = bg.copy(platePx);
    {
        QPainter p(&rest);
        p.translate(-platePx.topLeft());
        drawPlate(p, platePx, false, scale);
    }
    const QImage cleanPlate = rest.copy();
    {
        QPainter p(&rest);
        toLayout(p, platePx.topLeft(), scale);
        drawWord(p, word, Look::Rest);
    }
    w.pictures << Picture{QStringLiteral("imgOk2"), platePx, rest, QStringLiteral("background"), QRect(), false};

    const QRect light = scale.rect(rect(L::imgOk2Light));
    Picture lit{QStringLiteral("imgOk2Light"), light, cleanPlate.copy(light.translated(-platePx.topLeft())),
                QStringLiteral("imgOk2"), scale.rect(word.ink), true};
    {
        QPainter p(&lit.full);
        toLayout(p, light.topLeft(), scale);
        drawWord(p, word, Look::Lit);
    }
    w.pictures << lit;

    const QRect indent = scale.rect(rect(L::imgOk2Indent));
    Picture pressed{QStringLiteral("imgOk2Indent"), indent, bg.copy(indent), QStringLiteral("background"), QRect(),
                    false};
    {
        QPainter p(&pressed.full);
        p.translate(-indent.topLeft());
        drawPlate(p, indent, true, scale);
        p.scale(scale.factor(), scale.factor());
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
                    const layout::Button (&buttons)[2], quint32 seed, const Scaler &scale)
{
    Window w;
    w.form = form;
    w.reserved = reservedColours();
    w.scale = scale;
    QImage bg = backdrop(scale.size(size), false, seed, scale);
    const QImage bare = bg.copy();
    drawFrame(bg, scale);
    drawParagraphs(bg, QRect(30, 16, size.width() - 60, 148), paragraphs, 14, scale);

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
void addProgressBar(Window &w, const QRect &barRect, const QRect &fillRect)
{
    const QRect bar = w.scale.rect(barRect), fill = w.scale.rect(fillRect);
    const int e = w.scale.px(1);
    Picture trough{QStringLiteral("imgCopyTrough"), bar, QImage(bar.size(), QImage::Format_RGB32),
                   QStringLiteral("background"), QRect(), false};
    {
        QPainter p(&trough.full);
        QLinearGradient face(0, 0, 0, bar.height());
        face.setColorAt(0, colour::pressedTop);
        face.setColorAt(1, colour::pressedBottom);
        p.fillRect(trough.full.rect(), face);
        const int bw = bar.width(), bh = bar.height();
        p.fillRect(QRect(0, 0, bw, e), colour::pressedDarkEdge);
        p.fillRect(QRect(0, 0, e, bh), colour::pressedDarkEdge);
        p.fillRect(QRect(e, bh - e, bw - e, e), colour::pressedLightEdge);
        p.fillRect(QRect(bw - e, e, e, bh - e), colour::pressedLightEdge);
    }
    Picture green{QStringLiteral("imgCopyFill"), fill, QImage(fill.size(), QImage::Format_RGB32),
                  QStringLiteral("background"), QRect(), false};
    green.full.fill(colour::green);
    {
        QPainter p(&green.full);
        p.fillRect(QRect(0, 0, fill.width(), e), colour::fillEdge);
    }
    w.reserved << colour::fillEdge.rgb();
    w.pictures << trough << green;
}

} // namespace

Window hddWindow(const Scaler &scale)
{
    namespace L = layout::hdd;
    Window w = noticeWindow(QStringLiteral("frmHDD"), QSize(L::backgroundWidth, L::backgroundHeight),
                            paragraphList(L::paragraphs),
                            L::buttons, 31, scale);
    addProgressBar(w, rect(L::prgCopy), rect(L::prgCopyFill));
    return w;
}

Window exitWindow(const Scaler &scale)
{
    namespace L = layout::exitdlg;
    return noticeWindow(QStringLiteral("frmExit"), QSize(L::width, L::height),
                        paragraphList(L::paragraphs),
                        L::buttons, 37, scale);
}

Window saveWindow(const Scaler &scale)
{
    namespace L = layout::save;
    Window w;
    w.form = QStringLiteral("frmSave");
    w.reserved = reservedColours();
    w.scale = scale;
    QImage bg = backdrop(scale.size(QSize(L::backgroundWidth, L::backgroundHeight)), false, 41, scale);
    const QImage bare = bg.copy();
    {
        QPainter p(&bg);
        drawPane(p, rect(L::txtFolderPath), scale);
        drawPane(p, rect(L::dirSave), scale);
        drawPane(p, rect(L::drvSave), scale);
        p.scale(scale.factor(), scale.factor());
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

namespace {

// The hand as it is drawn at the layout's own size, pixel by pixel.
QImage handPixels()
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

// The same hand as an outline in the layout's coordinates (pixel edges), for
// the larger scales: the outer edge of its black outline, clockwise from the
// index finger, and the creases between the fingers and at the thumb.
QPainterPath handOutline()
{
    QPainterPath path;
    path.moveTo(3, 12);
    path.lineTo(3, 3.5);
    path.arcTo(QRectF(3, 0, 7, 7), 180, -180);
    path.lineTo(10, 7);
    path.lineTo(13.5, 7);
    path.quadTo(15, 7, 15, 8);
    path.lineTo(18.5, 8);
    path.quadTo(20, 8, 20, 9.5);
    path.lineTo(20, 10);
    path.lineTo(22.5, 10);
    path.quadTo(24, 10, 24, 11.5);
    path.lineTo(24, 17);
    path.lineTo(23, 21);
    path.lineTo(22, 25);
    path.lineTo(5, 25);
    path.lineTo(4, 23);
    path.lineTo(1, 17);
    path.lineTo(0, 15.5);
    path.lineTo(0, 13.5);
    path.quadTo(0, 12, 1.5, 12);
    path.closeSubpath();
    return path;
}

QImage handDrawn(const Scaler &scale)
{
    const qreal k = scale.factor();
    QImage full(scale.size(QSize(32, 32)), QImage::Format_ARGB32_Premultiplied);
    full.fill(Qt::transparent);
    {
        // No anti-aliasing: the cursor has two colours and no half tones.
        QPainter p(&full);
        p.scale(k, k);
        const QPainterPath outline = handOutline();
        p.setClipPath(outline);
        p.fillPath(outline, Qt::white);
        // Twice the width, half of it clipped away: the outline lies inside.
        p.strokePath(outline, QPen(Qt::black, 2.0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        const QPen crease(Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap);
        p.setPen(crease);
        p.drawLine(QPointF(9.5, 7), QPointF(9.5, 13.5));
        p.drawLine(QPointF(14.5, 8), QPointF(14.5, 13.5));
        p.drawLine(QPointF(19.5, 10), QPointF(19.5, 13.5));
        p.drawLine(QPointF(3.5, 12.5), QPointF(5.5, 15.5));
    }
    QImage image(full.size(), QImage::Format_Indexed8);
    image.setColorTable({qRgba(0, 0, 0, 0), qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < full.height(); ++y)
        for (int x = 0; x < full.width(); ++x) {
            const QRgb c = full.pixel(x, y);
            image.setPixel(x, y, qAlpha(c) < 128 ? 0 : qGray(c) < 128 ? 1 : 2);
        }
    return image;
}

} // namespace

QImage handCursor(const Scaler &scale)
{
    return scale.percent == 100 ? handPixels() : handDrawn(scale);
}

QImage windowIcon(const Scaler &scale)
{
    const int n = scale.size(QSize(32, 32)).width();
    QImage full(n, n, QImage::Format_ARGB32_Premultiplied);
    full.fill(Qt::transparent);
    {
        QPainter p(&full);
        p.scale(scale.factor(), scale.factor());
        drawDiscEmblem(p, QPointF(15.5, 15.5), 15);
    }
    // 16 colours: transparent and 15 opaque ones from the drawing.
    QList<QRgb> solid;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const QRgb c = full.pixel(x, y);
            if (qAlpha(c) >= 128)
                solid << (QColor::fromRgba(c).rgb());
        }
    QImage strip(int(solid.size()), 1, QImage::Format_RGB32);
    for (int i = 0; i < solid.size(); ++i)
        strip.setPixel(i, 0, solid[i]);
    Palette palette = buildPalette({strip}, {}, 15);
    Quantiser q(palette);
    QImage icon(n, n, QImage::Format_Indexed8);
    QList<QRgb> table{qRgba(0, 0, 0, 0)};
    table += palette;
    icon.setColorTable(table);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const QRgb c = full.pixel(x, y);
            icon.setPixel(x, y, qAlpha(c) >= 128 ? 1 + q.nearest(QColor::fromRgba(c).rgb()) : 0);
        }
    return icon;
}

} // namespace artgen
