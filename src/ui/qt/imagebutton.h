// The window-less pieces of an image button: a transparent hot area that
// receives the mouse, and the pictures (Light, Indent) that only show or hide.
#pragma once

#include "control.h"

#include "assets/assets.h"

#include <QLabel>
#include <QPixmap>

namespace ui::qt {

class HotArea : public ControlOf<QLabel, ui::HotArea> {
public:
    HotArea(QWidget *parent, const layout::Rect &rect);
    void setCursor(Cursor cursor) override;
    // The focus comes from the keyboard or from code: the widget's own
    // policy takes none, so neither a click nor the window's activation
    // gives it.
    void setFocus() override;
    bool hasFocus() const override { return QLabel::hasFocus(); }
    void setAccessible(const std::string &name, const std::string &description) override;
    void setSelected(bool selected) override;
    bool selected() const override { return mSelected; }
    // A click from the keyboard or a screen reader: no press, no release.
    void keyClick();
    // Takes the hand drawn for the screen the window is on now.
    void screenChanged();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool mLeftPressed = false;
    bool mSelected = false;
    bool mSpacePressed = false;  // Space went down while focused; its release clicks
    bool mKeptFocus = false;     // the focus stayed here while the window was inactive
    // The last key released, to tell the repeats of a held key.
    int mReleasedKey = 0;
    quint64 mReleasedAt = 0;
    bool repeated(const QKeyEvent *event) const;
    Cursor mCursor = Cursor::Hand;
};

// Exactly the size of its picture, hidden at creation; the mouse passes
// through it to what lies beneath. It shows the drawing for its screen's
// device pixel ratio.
class Picture : public ControlOf<QLabel, ui::Picture> {
public:
    Picture(QWidget *parent, const layout::Rect &rect, const assets::ScaledPicture &picture);
    void show() override;
    void hide() override;
    // Draws the picture on `on`, an ancestor, where it lies there: at a
    // fractional ratio its first row or column of device pixels may lie
    // outside the widget's own, where only the window can draw it.
    void drawOn(QPainter &painter, const QWidget *on) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    assets::ScaledPicture mPicture;
};

// Draws a picture of the window's artwork whose place in the layout has its
// top left at `at` of `widget`, on the device pixels the generator drew it
// for: at a fractional ratio a place starts on the device pixel at or before
// it, which need not be where the widget's own pixels start.
void drawOnDevicePixels(QPainter &painter, const QWidget *widget, const QPoint &at, const QPixmap &pixmap);

// Whether a ratio puts some places of the layout between device pixels.
inline bool fractionalRatio(qreal ratio) { return ratio != qreal(int(ratio)); }

// After a control at `rect` of its window showed or hid: the window repaints
// the device pixels around it that the control cannot reach itself.
void updateAround(QWidget *control);

} // namespace ui::qt
