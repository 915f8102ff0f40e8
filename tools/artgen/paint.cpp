#include "paint.h"

#include "assets/scales.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace artgen {

namespace {

// A repeatable hash noise in [0, 1).
double noise(quint32 x, quint32 y, quint32 seed)
{
    quint32 h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / double(0x1000000);
}

QPainterPath roundedPath(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

constexpr qreal kPlateRadius = 3.5;

} // namespace

QRect Scaler::rect(const QRect &r) const
{
    const layout::Rect d = scales::deviceRect({r.x(), r.y(), r.width(), r.height()}, percent);
    return QRect(d.x, d.y, d.w, d.h);
}

int Scaler::px(int logical) const { return scales::devicePixels(logical, percent); }

QFont boldFont(qreal pixelSize)
{
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"));
        const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        return families.isEmpty() ? QStringLiteral("Liberation Sans") : families.first();
    }();
    QFont font(family);
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(true);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage backdrop(QSize deviceSize, bool light, quint32 seed, const Scaler &scale)
{
    QImage image(deviceSize, QImage::Format_RGB32);
    const double f = scale.factor();
    const QSizeF size = QSizeF(deviceSize) / f;
    const double diag = std::hypot(size.width(), size.height());
    for (int dy = 0; dy < deviceSize.height(); ++dy) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(dy));
        double streak = 0;
        const double y = dy / f;
        for (int dx = 0; dx < deviceSize.width(); ++dx) {
            const double x = dx / f;
            // Diagonal gradient, brightest where the light comes from.
            const double t = (x * 0.55 + y * 0.85) / (size.width() * 0.55 + size.height() * 0.85);
            const double glow = std::max(0.0, 1.0 - std::hypot(x + 40.0, y + 40.0) / (diag * 0.75));
            double r, g, b;
            if (!light) {
                r = 12 + 34 * t + 14 * glow;
                g = 18 - 4 * t + 14 * glow;
                b = 50 + 22 * t + 22 * glow;
                const double n = noise(dx, dy, seed) - 0.5;
                r += n * 3.0;
                g += n * 3.0;
                b += n * 4.0;
            } else {
                // Pale brushed steel: horizontal streaks that drift slowly.
                r = 216 - 26 * t + 8 * glow;
                g = 222 - 26 * t + 8 * glow;
                b = 234 - 20 * t + 6 * glow;
                streak = streak * std::pow(0.86, 1 / f) + (noise(dx, dy, seed) - 0.5) * 0.14 / f;
                const double n = streak * 16 + (noise(dx, dy, seed + 7) - 0.5) * 2.0 + std::sin(y * 0.9 + seed) * 0.6;
                r += n;
                g += n;
                b += n;
            }
            line[dx] = qRgb(qBound(0, int(std::lround(r)), 255), qBound(0, int(std::lround(g)), 255),
                           qBound(0, int(std::lround(b)), 255));
        }
    }
    return image;
}

void drawPlate(QPainter &p, const QRect &r, bool recessed, const Scaler &scale)
{
    const qreal e1 = scale.px(1), e2 = scale.px(2), k = scale.factor();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    const QRectF outer(r);
    if (!recessed) {
        // Dark edge (2 px, bottom and right) beneath, light edge (1 px, top
        // and left) on it, then the face with its vertical gradient.
        p.setBrush(colour::plateDarkEdge);
        p.drawPath(roundedPath(outer, kPlateRadius * k));
        p.setBrush(colour::plateLightEdge);
        p.drawPath(roundedPath(outer.adjusted(0, 0, -e2, -e2), (kPlateRadius - 0.5) * k));
        const QRectF face = outer.adjusted(e1, e1, -e2, -e2);
        QLinearGradient g(face.topLeft(), face.bottomLeft());
        g.setColorAt(0, colour::plateTop);
        g.setColorAt(1, colour::plateBottom);
        p.setBrush(g);
        p.drawPath(roundedPath(face, (kPlateRadius - 1) * k));
    } else {
        // Inverted: light edge (1 px) bottom and right, dark edge (2 px) top
        // and left, a near-black green face.
        p.setBrush(colour::pressedLightEdge);
        p.drawPath(roundedPath(outer, kPlateRadius * k));
        p.setBrush(colour::pressedDarkEdge);
        p.drawPath(roundedPath(outer.adjusted(0, 0, -e1, -e1), (kPlateRadius - 0.5) * k));
        p.setBrush(colour::pressedShadow);
        p.drawPath(roundedPath(outer.adjusted(e1, e1, -e1, -e1), (kPlateRadius - 1) * k));
        const QRectF face = outer.adjusted(e2, e2, -e1, -e1);
        QLinearGradient g(face.topLeft(), face.bottomLeft());
        g.setColorAt(0, colour::pressedTop);
        g.setColorAt(1, colour::pressedBottom);
        p.setBrush(g);
        p.drawPath(roundedPath(face, (kPlateRadius - 1.5) * k));
    }
    p.restore();
}

void drawPane(QPainter &p, const QRect &control, const Scaler &scale)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    // Outer ring: shadow top and left, light bottom and right.
    const QRect c = scale.rect(control);
    const int e = scale.px(1);
    const QRect o = c.adjusted(-2 * e, -2 * e, 2 * e, 2 * e), i = c.adjusted(-e, -e, e, e);
    auto ring = [&](const QRect &r, const QColor &shadow, const QColor &lit) {
        p.fillRect(QRect(r.left(), r.top(), r.width(), e), shadow);
        p.fillRect(QRect(r.left(), r.top(), e, r.height()), shadow);
        p.fillRect(QRect(r.left() + e, r.bottom() + 1 - e, r.width() - e, e), lit);
        p.fillRect(QRect(r.right() + 1 - e, r.top() + e, e, r.height() - e), lit);
    };
    ring(o, QColor(22, 22, 36), QColor(150, 156, 176));
    ring(i, QColor(0, 0, 0), QColor(92, 98, 120));
    p.fillRect(c, Qt::black);
    p.restore();
}

namespace {

QPainterPath wordPath(const Word &word, const QPointF &shift = {})
{
    QPainterPath path;
    for (int i = 0; i < word.lines.size(); ++i)
        path.addText(word.baselines[i] + shift, word.font, word.lines[i]);
    return path;
}

} // namespace

Word placeWord(const QString &text, const QFont &font, const QRect &plate, const QRect &within, bool *ok)
{
    Word word;
    word.font = font;
    word.lines = text.split(QLatin1Char('\n'));
    const QFontMetricsF fm(font);
    const qreal lineStep = std::round(font.pixelSize() * 1.08);
    // Lines centred on x = 0, baselines from y = 0; measure the whole ink.
    for (int i = 0; i < word.lines.size(); ++i)
        word.baselines.append(QPointF(-fm.horizontalAdvance(word.lines[i]) / 2, i * lineStep));
    const QRectF bounds = wordPath(word).boundingRect();
    // Centre the ink across, and the band from the first line's cap height
    // to the last baseline down, so that words of a row share a baseline
    // whatever their descenders. Whole pixels keep every look on one grid.
    const QPointF centre = QRectF(plate).center();
    const qreal bandMiddle = (-fm.capHeight() + word.baselines.last().y()) / 2;
    QPointF shift(std::round(centre.x() - bounds.center().x()), std::round(centre.y() - bandMiddle));
    // The lit word has a 1 px outline and anti-aliased edges: keep 2 px
    // clear of the edge of its picture.
    const QRectF allowed = QRectF(within).adjusted(2, 2, -2, -2);
    QRectF ink = bounds.translated(shift);
    if (ink.left() < allowed.left())
        shift.rx() += std::ceil(allowed.left() - ink.left());
    if (ink.right() > allowed.right())
        shift.rx() -= std::ceil(ink.right() - allowed.right());
    if (ink.top() < allowed.top())
        shift.ry() += std::ceil(allowed.top() - ink.top());
    if (ink.bottom() > allowed.bottom())
        shift.ry() -= std::ceil(ink.bottom() - allowed.bottom());
    for (QPointF &b : word.baselines)
        b += shift;
    ink = bounds.translated(shift);
    word.ink = QRect(QPoint(int(std::floor(ink.left())) - 1, int(std::floor(ink.top())) - 1),
                     QPoint(int(std::ceil(ink.right())), int(std::ceil(ink.bottom()))));
    // Fits if the lit word stays inside `within` and the pressed word (one
    // pixel further right and down) stays off the plate's recessed edges.
    const QRectF face = QRectF(plate).adjusted(5, 3, -5, -3);
    *ok = allowed.contains(ink) && face.contains(ink.translated(1, 1));
    return word;
}

qreal fitWords(const QStringList &texts, const QList<QRect> &plates, const QList<QRect> &withins, qreal maxSize)
{
    for (qreal size = std::floor(maxSize); size > 8; size -= 1) {
        bool all = true;
        for (int i = 0; i < texts.size() && all; ++i)
            placeWord(texts[i], boldFont(size), plates[i], withins[i], &all);
        if (all)
            return size;
    }
    return 8;
}

void drawWord(QPainter &p, const Word &word, Look look)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    switch (look) {
    case Look::Rest:
        p.setBrush(colour::restWord);
        p.drawPath(wordPath(word));
        break;
    case Look::Lit:
    case Look::LitGreen: {
        p.setBrush(colour::wordOutline);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx || dy)
                    p.drawPath(wordPath(word, QPointF(dx, dy)));
        p.setBrush(look == Look::Lit ? colour::litWord : colour::green);
        p.drawPath(wordPath(word));
        break;
    }
    case Look::Pressed:
        p.setBrush(colour::green);
        p.drawPath(wordPath(word, QPointF(1, 1)));
        break;
    }
    p.restore();
}

void blur(QImage &image, int radius)
{
    if (radius < 1)
        return;
    const int w = image.width(), h = image.height();
    std::vector<int> tmp(size_t(std::max(w, h)) * 4);
    for (int pass = 0; pass < 3; ++pass) {
        for (int dir = 0; dir < 2; ++dir) {
            const int n = dir == 0 ? w : h, m = dir == 0 ? h : w;
            for (int j = 0; j < m; ++j) {
                auto px = [&](int i) -> QRgb & {
                    return dir == 0 ? reinterpret_cast<QRgb *>(image.scanLine(j))[i]
                                    : reinterpret_cast<QRgb *>(image.scanLine(i))[j];
                };
                for (int i = 0; i < n; ++i) {
                    int s[4] = {0, 0, 0, 0}, count = 0;
                    for (int k = i - radius; k <= i + radius; ++k) {
                        if (k < 0 || k >= n)
                            continue;
                        const QRgb c = px(k);
                        s[0] += qAlpha(c);
                        s[1] += qRed(c);
                        s[2] += qGreen(c);
                        s[3] += qBlue(c);
                        ++count;
                    }
                    for (int c = 0; c < 4; ++c)
                        tmp[size_t(i) * 4 + c] = s[c] / count;
                }
                for (int i = 0; i < n; ++i)
                    px(i) = qRgba(tmp[i * 4 + 1], tmp[i * 4 + 2], tmp[i * 4 + 3], tmp[i * 4 + 0]);
            }
        }
    }
}

void drawGlowText(QImage &target, const QPointF &baseline, const QFont &font, const QString &text,
                  const QColor &colour, const QColor &glow, int radius, const Scaler &scale)
{
    QImage halo(target.size(), QImage::Format_ARGB32_Premultiplied);
    halo.fill(Qt::transparent);
    {
        QPainter hp(&halo);
        hp.scale(scale.factor(), scale.factor());
        hp.setRenderHint(QPainter::Antialiasing);
        hp.setFont(font);
        hp.setPen(glow);
        hp.drawText(baseline, text);
    }
    blur(halo, scale.px(radius));
    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(0, 0, halo);
    p.drawImage(0, 0, halo);
    p.scale(scale.factor(), scale.factor());
    p.setFont(font);
    p.setPen(colour);
    p.drawText(baseline, text);
}

void drawDiscEmblem(QPainter &p, const QPointF &c, qreal r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // Shadow to the bottom right.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawEllipse(c + QPointF(r * 0.06 + 1, r * 0.06 + 1), r, r);
    // The disc: silver with a violet sheen, lit from the top left.
    QLinearGradient g(c - QPointF(r, r), c + QPointF(r, r));
    g.setColorAt(0.0, QColor(246, 248, 255));
    g.setColorAt(0.35, QColor(176, 186, 222));
    g.setColorAt(0.55, QColor(214, 206, 240));
    g.setColorAt(1.0, QColor(96, 84, 150));
    p.setBrush(g);
    p.setPen(QPen(QColor(30, 26, 60), std::max(1.0, r * 0.06)));
    p.drawEllipse(c, r, r);
    // Q: a thick violet ring round the hole and a tail to the bottom right.
    const qreal ring = r * 0.56, stroke = r * 0.26;
    QPen qpen(QColor(58, 34, 130), stroke, Qt::SolidLine, Qt::RoundCap);
    p.setPen(qpen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, ring, ring);
    p.drawLine(c + QPointF(ring * 0.35, ring * 0.35), c + QPointF(r * 0.86, r * 0.86));
    // The hole, seen through to a dark backdrop.
    p.setPen(QPen(QColor(150, 160, 200), std::max(1.0, r * 0.05)));
    p.setBrush(QColor(16, 14, 40));
    p.drawEllipse(c, r * 0.2, r * 0.2);
    p.restore();
}

} // namespace artgen
