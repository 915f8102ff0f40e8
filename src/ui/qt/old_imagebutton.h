// The pieces of an image button: a transparent hot area that receives the
// mouse, and the pictures (Light, Indent) that only show or hide.
#pragma once

#include "layout.h"

#include <QLabel>

namespace ui {

inline QRect qrect(const layout::Rect &r) { return QRect(r.x, r.y, r.w, r.h); }

// A window-less transparent label without text: the button's hot area. It
// reports pointer movement (with or without a button held), a press and a
// release of any mouse button, and a click: a left-button press and release
// with the pointer still over the label at the release. The second press of a
// double-click is a press whose release gives no click.
class HotArea : public QLabel {
    Q_OBJECT
public:
    explicit HotArea(QWidget *parent, const QRect &rect);

signals:
    void mouseMove();
    void mouseDown();
    void mouseUp();
    void click();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool mLeftPressed = false;
};

// A picture control: exactly the size of its picture, hidden at creation, no
// reactions of its own (it takes the mouse events over it and drops them).
// Showing a shown picture or hiding a hidden one changes nothing on screen.
class Picture : public QLabel {
    Q_OBJECT
public:
    Picture(QWidget *parent, const QRect &rect, const QPixmap &pixmap);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace ui
