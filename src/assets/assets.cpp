#include "assets.h"

#include "screenimage.h"

#include <QResource>

static void initArtwork()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    (void)done;
}

namespace assets {

QImage image(const QString &name)
{
    initArtwork();
    const QResource resource(QStringLiteral(":/art/%1.px").arg(name));
    // Stored uncompressed: the pixels are used where they lie.
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        return {};
    return screenimage::decode(resource.data(), resource.size());
}

QPixmap picture(const QString &form, const QString &name)
{
    return QPixmap::fromImage(image(form + QLatin1Char('/') + name));
}

QCursor handCursor()
{
    static const QCursor cursor(QPixmap::fromImage(image(QStringLiteral("hand"))), 6, 0);
    return cursor;
}

QIcon windowIcon()
{
    static const QIcon icon(QPixmap::fromImage(image(QStringLiteral("icon"))));
    return icon;
}

} // namespace assets
