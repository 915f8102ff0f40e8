// The compiled-in artwork: backgrounds and button pictures of every window,
// the pointing-hand cursor and the window icon, each at the scales of
// scales.h. The generator in tools/ draws them at build time; they live in
// the resources under ":/art/", screen-ready, and are drawn from where they
// lie there.
#pragma once

#include <QCursor>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace assets {

// A picture of the resources by its name under ":/art/" without the ending
// ("frmGames/background", "hand", "frmGames/background@2x"), sharing the
// resources' memory; a null image when there is none.
QImage image(const QString &name);

// The picture of a window ("frmGames", "frmCD", "frmHDD", "frmExit",
// "frmSave") by its control name ("imgRunLight", "imgOk2", ...), or
// "background", as drawn for 96 dpi.
QPixmap picture(const QString &form, const QString &name);

// The same picture for a screen of `ratio` device pixels to the pixel: the
// one drawn for that scale, or for the next drawn scale above it reduced
// smoothly to the ratio; its device pixel ratio set, so that it covers the
// picture's place of the layout.
QPixmap picture(const QString &form, const QString &name, qreal ratio);

// A picture of a window at every scale, each loaded on its first use; what
// a control keeps, so that it shows the right one on whichever screen its
// window is.
class ScaledPicture {
public:
    ScaledPicture() = default;
    ScaledPicture(QString form, QString name);
    bool isNull() const { return mBase.isNull(); }
    // The 96 dpi picture; its size is the picture's size in the layout.
    const QPixmap &base() const { return mBase; }
    QPixmap at(qreal ratio) const;

private:
    QString mForm, mName;
    QPixmap mBase;
    mutable QHash<int, QPixmap> mScaled;  // by ratio in hundredths
};

// The 32 x 32 two-colour pointing hand, hot spot at the finger tip (6, 0),
// drawn for the given device pixel ratio: 32 x 32 times the ratio, the hot
// spot (6, 0) times the ratio, in the pixmap's pixels.
QCursor handCursor(qreal ratio = 1);

// The 32 x 32 16-colour window icon of every window, with its larger
// drawings for scaled screens.
QIcon windowIcon();

} // namespace assets
