// A progress bar drawn from two pictures of its window: the trough, and the
// fill cut to the fraction done. It has no text and takes no input.
#pragma once

#include "control.h"

#include "assets/assets.h"

#include <QPixmap>
#include <QWidget>

namespace ui::qt {

class ProgressBar : public ControlOf<QWidget, ui::ProgressBar> {
public:
    // `fill` is drawn at `fillOffset` inside the trough, its left part as
    // wide as the fraction done; both as drawn for the screen's density.
    ProgressBar(QWidget *parent, const layout::Rect &rect, const assets::ScaledPicture &trough,
                const assets::ScaledPicture &fill, QPoint fillOffset);

    // The bar is repainted when the event loop next paints, not at once.
    void setProgress(int done, int total) override;
    int done() const override { return mDone; }
    int total() const override { return mTotal; }

    // The width of the fill for the progress now, in the layout's pixels.
    int fillWidth() const;

    void show() override;
    void hide() override;
    // Draws the bar on `on`, an ancestor, where it lies there (see
    // Picture::drawOn).
    void drawOn(QPainter &painter, const QWidget *on) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    assets::ScaledPicture mTrough, mFill;
    QPoint mFillOffset;
    int mDone = 0, mTotal = 0;
};

} // namespace ui::qt
