// Window helpers shared by every form: placement, the program-wide pointer,
// and the lifetime of forms (created on first reference, destroyed on close).
#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>

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

// Sets a window's title to exactly this text: Qt takes "[*]" in a title as
// the place of its modified mark and would not show it.
void setTitleText(QWidget *window, const QString &title);

// Gives a dialog form the fixed size of its client area, the window icon and
// the frame flags, and leaves it out of the task bar; `titleBar` false gives
// a window without a title bar.
void setupFixedWindow(QWidget *window, int width, int height, bool titleBar);

// Marks a form as unloaded, closes it and destroys it once control is back in
// the event loop. A later reference creates a new one (see form<F>()).
void unload(QWidget *window);
bool isUnloaded(const QWidget *window);

// Watches for the window system destroying the window's native window from
// outside the program, as `xdotool windowclose` does on X11 without a window
// manager, and then calls closeDestroyedWindow from the event loop. Every
// dialog form watches for it; the main screen does too.
void closeOnExternalDestroy(QWidget *window);

// Closes a window whose native window was destroyed from outside, as its
// close command would: a dialog ends its modal loop with its close reaction
// (its own buttons' sounds and actions do not run); the main screen first
// gets a new native window, so that it stays shown behind the exit dialog
// that its closing brings up. A window already unloaded is left alone.
void closeDestroyedWindow(QWidget *window);

// While a copy runs inside a click, on the user-interface thread: the
// windows keep painting (what changed, and what another window uncovered),
// but take no input. Pointer and key input made meanwhile is dropped, never
// delivered afterwards; a close request, or a window destroyed from outside,
// is acted on only once the copy has ended.
class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    // Call as often as the work allows (after each file): at most every
    // 50 ms, lets the windows paint.
    void keepPainting();

    // True while a copy runs.
    static bool active();

    // Runs `action` from the event loop: at once when no copy runs, else as
    // soon as the copy has ended.
    static void whenNotBusy(std::function<void()> action);

private:
    qint64 mLastPaint = -1;
};

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
