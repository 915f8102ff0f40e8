// The pictures of each window in full colour, before colour reduction.
#pragma once

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include "palette.h"

namespace artgen {

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
};

Window gamesWindow();
Window cdWindow();
Window hddWindow();
Window exitWindow();
Window saveWindow();

// The 32 x 32 pointing hand (black, white, transparent) and the window icon.
QImage handCursor();
QImage windowIcon();

} // namespace artgen
