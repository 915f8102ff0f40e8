#include "assets.h"

#include "scales.h"
#include "screenimage.h"

#include <QResource>

#include <cmath>

static void initArtwork()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    (void)done;
}

namespace assets {

namespace {

int percentOf(qreal ratio) { return std::max(1, int(std::lround(ratio * 100))); }

// The picture `name` (without a scale) for `ratio`, and its 96 dpi size.
QPixmap scaledPicture(const QString &name, QSize logical, qreal ratio)
{
    const int percent = percentOf(ratio);
    const scales::Scale &drawn = scales::drawnFor(percent);
    const QImage source = image(name + QLatin1String(drawn.suffix));
    if (source.isNull())
        return {};
    QPixmap pixmap;
    if (drawn.percent == percent) {
        pixmap = QPixmap::fromImage(source);
    } else {
        // Between the drawn scales: the larger drawing, reduced.
        const QSize size(scales::ceilScaled(logical.width(), percent), scales::ceilScaled(logical.height(), percent));
        pixmap = QPixmap::fromImage(source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    pixmap.setDevicePixelRatio(percent / 100.0);
    return pixmap;
}

} // namespace

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

QPixmap picture(const QString &form, const QString &name, qreal ratio)
{
    const QString stem = form + QLatin1Char('/') + name;
    if (percentOf(ratio) == 100)
        return QPixmap::fromImage(image(stem));
    return scaledPicture(stem, image(stem).size(), ratio);
}

ScaledPicture::ScaledPicture(QString form, QString name)
    : mForm(std::move(form)), mName(std::move(name)), mBase(picture(mForm, mName))
{
}

QPixmap ScaledPicture::at(qreal ratio) const
{
    const int percent = percentOf(ratio);
    if (percent == 100 || mBase.isNull())
        return mBase;
    auto found = mScaled.constFind(percent);
    if (found != mScaled.constEnd())
        return *found;
    QPixmap pixmap = scaledPicture(mForm + QLatin1Char('/') + mName, mBase.size(), ratio);
    if (pixmap.isNull())
        pixmap = mBase;
    mScaled.insert(percent, pixmap);
    return pixmap;
}

QCursor handCursor(qreal ratio)
{
    static QHash<int, QCursor> cursors;
    const int percent = percentOf(ratio);
    auto found = cursors.constFind(percent);
    if (found != cursors.constEnd())
        return *found;
    const QPixmap hand = percent == 100 ? QPixmap::fromImage(image(QStringLiteral("hand")))
                                        : scaledPicture(QStringLiteral("hand"), QSize(32, 32), ratio);
    // The X11 platform takes the hot spot in the pixmap's own pixels, not in
    // the layout's, whatever the pixmap's device pixel ratio.
    const QCursor cursor(hand, scales::floorScaled(6, percent), 0);
    cursors.insert(percent, cursor);
    return cursor;
}

QIcon windowIcon()
{
    static const QIcon icon = [] {
        QIcon all;
        for (const scales::Scale &s : scales::kDrawn)
            all.addPixmap(QPixmap::fromImage(image(QStringLiteral("icon") + QLatin1String(s.suffix))));
        return all;
    }();
    return icon;
}

} // namespace assets
