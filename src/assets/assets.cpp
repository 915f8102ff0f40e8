#include "assets.h"

#include <QBitmap>

static void initArtwork()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    (void)done;
}

namespace assets {

QPixmap picture(const QString &form, const QString &name)
{
    initArtwork();
    return QPixmap(QStringLiteral(":/art/%1/%2.png").arg(form, name));
}

QCursor handCursor()
{
    initArtwork();
    static const QCursor cursor(QPixmap(QStringLiteral(":/art/hand.png")), 6, 0);
    return cursor;
}

QIcon windowIcon()
{
    initArtwork();
    static const QIcon icon(QStringLiteral(":/art/icon.png"));
    return icon;
}

} // namespace assets
