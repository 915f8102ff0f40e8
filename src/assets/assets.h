// The compiled-in artwork: backgrounds and button pictures of every window,
// the pointing-hand cursor and the window icon. The generator in tools/
// draws them at build time; they live in the resources under ":/art/".
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace assets {

// The picture of a window ("frmGames", "frmCD", "frmHDD", "frmExit",
// "frmSave") by its control name ("imgRunLight", "imgOk2", ...), or
// "background". ":/art/<form>/<name>.png".
QPixmap picture(const QString &form, const QString &name);

// The 32 x 32 two-colour pointing hand, hot spot at the finger tip (6, 0).
QCursor handCursor();

// The 32 x 32 16-colour window icon of every window.
QIcon windowIcon();

} // namespace assets
