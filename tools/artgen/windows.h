// The pictures of each window in full colour, before colour reduction.
#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include "paint.h"
#include "palette.h"

namespace artgen {

// Every rectangle here is in the device pixels of the window's scale.
struct Picture {
    QString name;     // control name, e.g. "imgRunLight"
    QRect rect;       // place in the window
    QImage full;      // full colour, rect.size()
    QString base;     // what it lies on: "background" or an earlier picture
    QRect wordInk;    // for a Light picture: where its word may differ from the base
    bool light = false;
};

struct Window {
    QString form;            // "frmGames", ...
    QImage background;       // full colour
    QImage ditherMask;       // Grayscale8: where the background is bare backdrop
    QList<Picture> pictures; // in an order where every base comes first
    Palette reserved;        // colours the pictures need exactly
    Scaler scale;            // what the window is drawn at
};

// Each window drawn at a scale, from the same drawing code at every scale.
Window gamesWindow(const Scaler &scale = {});
Window cdWindow(const Scaler &scale = {});
Window hddWindow(const Scaler &scale = {});
Window exitWindow(const Scaler &scale = {});
Window saveWindow(const Scaler &scale = {});

// The pointing hand (black, white, transparent), 32 x 32 times the scale,
// its finger tip at (6, 0) times the scale, and the window icon, 32 x 32
// times the scale.
QImage handCursor(const Scaler &scale = {});
QImage windowIcon(const Scaler &scale = {});

} // namespace artgen
