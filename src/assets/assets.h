// The compiled-in artwork: backgrounds and button pictures of every window,
// the pointing-hand cursor and the window icon. The generator in tools/
// draws them at build time; they live in the resources under ":/art/",
// screen-ready, and are drawn from where they lie there.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace assets {

// A picture of the resources by its name under ":/art/" without the ending
// ("frmGames/background", "hand"), sharing the resources' memory; a null
// image when there is none.
QImage image(const QString &name);

// The picture of a window ("frmGames", "frmCD", "frmHDD", "frmExit",
// "frmSave") by its control name ("imgRunLight", "imgOk2", ...), or
// "background".
QPixmap picture(const QString &form, const QString &name);

// The 32 x 32 two-colour pointing hand, hot spot at the finger tip (6, 0).
QCursor handCursor();

// The 32 x 32 16-colour window icon of every window.
QIcon windowIcon();

} // namespace assets
