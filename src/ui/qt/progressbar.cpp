#include "progressbar.h"

#include <QPainter>

#include <algorithm>

namespace ui::qt {

ProgressBar::ProgressBar(QWidget *parent, const layout::Rect &rect, const QPixmap &trough, const QPixmap &fill,
                         QPoint fillOffset)
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
    if (fillWidth() != before)
        update();
}

int ProgressBar::fillWidth() const
{
    if (mTotal <= 0 || mDone <= 0)
        return 0;
    const qint64 width = mFill.width() / std::max(1.0, mFill.devicePixelRatio());
    return int(std::min<qint64>(width, width * std::min(mDone, mTotal) / mTotal));
}

void ProgressBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, mTrough);
    const int width = fillWidth();
    if (width > 0) {
        const qreal ratio = mFill.devicePixelRatio();
        painter.drawPixmap(QRectF(mFillOffset, QSizeF(width, mFill.height() / ratio)), mFill,
                           QRectF(0, 0, width * ratio, mFill.height()));
    }
}

} // namespace ui::qt
