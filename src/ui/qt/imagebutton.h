// The window-less pieces of an image button: a transparent hot area that
// receives the mouse, and the pictures (Light, Indent) that only show or hide.
#pragma once

#include "control.h"

#include <QLabel>
#include <QPixmap>

namespace ui::qt {

class HotArea : public ControlOf<QLabel, ui::HotArea> {
public:
    HotArea(QWidget *parent, const layout::Rect &rect);
    void setCursor(Cursor cursor) override;
    // Keyboard and accessibility: kept here until the toolkit's own support.
    void setFocus() override {}
    bool hasFocus() const override { return false; }
    void setAccessible(const std::string &, const std::string &) override {}
    void setSelected(bool selected) override { mSelected = selected; }
    bool selected() const override { return mSelected; }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool mLeftPressed = false;
    bool mSelected = false;
};

// Exactly the size of its picture, hidden at creation; the mouse passes
// through it to what lies beneath.
class Picture : public ControlOf<QLabel, ui::Picture> {
public:
    Picture(QWidget *parent, const layout::Rect &rect, const QPixmap &pixmap);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace ui::qt
