// Window helpers shared by every form: placement, the program-wide pointer,
// and the lifetime of forms (created on first reference, destroyed on close).
#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace ui {

// Centres a top-level window on the primary screen, using its outer size;
// fractions are kept until the final position, nothing is clamped.
void centreOnScreen(QWidget *window);

// Centres a top-level window over another one, using both outer sizes and the
// other's outer position. The left edge is set before the top edge.
void centreOver(QWidget *window, const QWidget *over);

// The program-wide pointer. It is set and cleared, not stacked: setting the
// hourglass twice and the default once leaves the default.
void setHourglass();
void setDefaultPointer();
bool hourglassShown();

// Gives a dialog form the fixed size of its client area, the window icon and
// the frame flags, and leaves it out of the task bar; `titleBar` false gives
// a window without a title bar.
void setupFixedWindow(QWidget *window, int width, int height, bool titleBar);

// Marks a form as unloaded, closes it and destroys it once control is back in
// the event loop. A later reference creates a new one (see form<F>()).
void unload(QWidget *window);
bool isUnloaded(const QWidget *window);

// Calls `onDestroyed` (from the event loop) when the window system destroys
// the window's native window from outside the program, as `xdotool
// windowclose` does on X11 without a window manager. The program takes that
// as a request to close the window.
void onExternalDestroy(QWidget *window, std::function<void()> onDestroyed);

// A dialog form drawn on a background picture: closing it in any way (its
// buttons, the window manager, the end of a modal loop) unloads it, and pointer
// movement over the bare background reaches Form_MouseMove.
class Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Dialog(QWidget *parent = nullptr);
    void done(int result) override;

    // Pointer movement over the window's bare background.
    virtual void Form_MouseMove() {}

protected:
    // The picture drawn at the top left of the client area.
    void setBackground(const QPixmap &picture);

    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPixmap mBackground;
};

// The one instance of a form: created in its design state on the first
// reference, reused while loaded, created anew after it was unloaded.
template <class F> struct FormSlot {
    static inline QPointer<F> instance;
};

template <class F> F &form()
{
    auto &slot = FormSlot<F>::instance;
    if (!slot || isUnloaded(slot))
        slot = new F;
    return *slot;
}

// The instance while one is loaded, without creating it; otherwise null.
template <class F> F *loadedForm()
{
    auto &slot = FormSlot<F>::instance;
    return slot && !isUnloaded(slot) ? slot.data() : nullptr;
}

} // namespace ui
