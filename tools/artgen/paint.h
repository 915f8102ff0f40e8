// The shared look of every window: backdrop, steel plates, words, panes,
// the disc emblem. One light source, top left, everywhere.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QStringList>

namespace artgen {

namespace colour {
inline const QColor plateTop(224, 228, 234), plateBottom(148, 154, 166);
inline const QColor plateLightEdge(250, 251, 253), plateDarkEdge(52, 56, 70);
inline const QColor restWord(36, 38, 44);
inline const QColor litWord(255, 255, 255), wordOutline(16, 18, 24);
inline const QColor green(0, 255, 0);
inline const QColor pressedTop(2, 12, 5), pressedBottom(10, 30, 15);
inline const QColor pressedDarkEdge(0, 0, 0), pressedShadow(4, 8, 6), pressedLightEdge(176, 182, 192);
inline const QColor paragraph(226, 230, 246);
inline const QColor fillEdge(168, 255, 168);  // the lit top row of a progress fill
} // namespace colour

// Liberation Sans Bold (or the nearest face) at a pixel size.
QFont boldFont(qreal pixelSize);

// Drawing at a scale: the device rectangle of a layout rectangle (see
// assets/scales.h) and a length of the layout in whole device pixels, so that
// edges stay one sharp line of pixels at every scale.
struct Scaler {
    int percent = 100;
    qreal factor() const { return percent / 100.0; }
    QRect rect(const QRect &logical) const;
    QSize size(QSize logical) const { return rect(QRect(QPoint(), logical)).size(); }
    int px(int logical) const;
};

// The deep night-blue to violet backdrop with a faint texture; `light`
// gives the pale steel variant used behind a dark message. `size` in device
// pixels; the gradient and the streaks follow the layout's coordinates.
QImage backdrop(QSize size, bool light, quint32 seed, const Scaler &scale = {});

// A steel plate filling the device rectangle `r` exactly: raised (at rest)
// or recessed (pressed), its edges as wide as the scale makes 1 and 2 px.
void drawPlate(QPainter &p, const QRect &r, bool recessed, const Scaler &scale = {});

// Pure black pane over `control` (of the layout) with a 2 px inset bevel
// just outside it, on a device-pixel painter.
void drawPane(QPainter &p, const QRect &control, const Scaler &scale = {});

enum class Look {
    Rest,       // dark charcoal, as drawn in the background
    Lit,        // white with a 1 px dark outline
    LitGreen,   // bright green with a 1 px dark outline
    Pressed,    // bright green, 1 px right and down
};

// A button word placed once and drawn in any of its looks at the same spot.
struct Word {
    QFont font;
    QStringList lines;
    QList<QPointF> baselines;   // start of each line's baseline
    QRect ink;                  // pixels the resting word may touch
};

// Centres the word on the plate, then moves it the least needed to keep it
// (with its outline) inside `within`. `ok` is false if it does not fit.
Word placeWord(const QString &text, const QFont &font, const QRect &plate, const QRect &within, bool *ok);

// The largest pixel size, at most `maxSize`, at which every word fits.
qreal fitWords(const QStringList &texts, const QList<QRect> &plates, const QList<QRect> &withins, qreal maxSize);

void drawWord(QPainter &p, const Word &word, Look look);

// Text drawn with a soft glow around it; the baseline, font and radius are
// of the layout, drawn at the scale on the device-pixel `target`.
void drawGlowText(QImage &target, const QPointF &baseline, const QFont &font, const QString &text,
                  const QColor &colour, const QColor &glow, int radius, const Scaler &scale = {});

// The emblem: a silver disc whose hole and ring form a stylised Q.
void drawDiscEmblem(QPainter &p, const QPointF &centre, qreal radius);

// Box blur of an ARGB32 premultiplied image, three passes.
void blur(QImage &image, int radius);

} // namespace artgen
