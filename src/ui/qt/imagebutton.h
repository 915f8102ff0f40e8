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
