#include "progressbar.h"

#include "imagebutton.h"

#include <QPainter>

#include <algorithm>

namespace ui::qt {

ProgressBar::ProgressBar(QWidget *parent, const layout::Rect &rect, const assets::ScaledPicture &trough,
                         const assets::ScaledPicture &fill, QPoint fillOffset)
    : ControlOf(parent), mTrough(trough), mFill(fill), mFillOffset(fillOffset)
{
    place(rect, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void ProgressBar::setProgress(int done, int total)
{
    const int before = fillWidth();
    mDone = done;
    mTotal = total;
    if (fillWidth() != before) {
        update();
        if (fractionalRatio(devicePixelRatioF()))
            updateAround(this);
    }
}

int ProgressBar::fillWidth() const
{
    if (mTotal <= 0 || mDone <= 0)
        return 0;
    const qint64 width = mFill.base().width();
    return int(std::min<qint64>(width, width * std::min(mDone, mTotal) / mTotal));
}

void ProgressBar::show()
{
    ControlOf::show();
    updateAround(this);
}

void ProgressBar::hide()
{
    ControlOf::hide();
    updateAround(this);
}

void ProgressBar::drawOn(QPainter &painter, const QWidget *on) const
{
    const qreal ratio = devicePixelRatioF();
    const QPoint origin = mapTo(on, QPoint());
    drawOnDevicePixels(painter, on, origin, mTrough.at(ratio));
    if (fillWidth() > 0) {
        // The fill's own device pixels, cut to the fraction done.
        const QPixmap fill = mFill.at(ratio);
        const qint64 device = fill.width();
        const int cut = int(std::min<qint64>(device, device * std::min(mDone, mTotal) / mTotal));
        QPixmap part = fill.copy(0, 0, std::max(1, cut), fill.height());
        part.setDevicePixelRatio(fill.devicePixelRatio());
        drawOnDevicePixels(painter, on, origin + mFillOffset, part);
    }
}

void ProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawOn(painter, this);
}

} // namespace ui::qt
