#include "window.h"

#include "assets/assets.h"
#include "frames.h"

#include <QAbstractNativeEventFilter>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace ui {

namespace {
const char *const kUnloaded = "quorviaUnloaded";

// The outer rectangle of a top-level window, frame and title bar included. A
// shown window measures its frame; one not shown yet has none to measure, so
// the window system is asked for the frame it will give it, and the window
// is placed by its client area, offset by that frame (Qt would otherwise take
// the position for the frame's or the client area's as it sees fit).
class Outer {
public:
    explicit Outer(QWidget *w) : mWindow(w), mShown(w->isVisible()), mFrame(mShown ? QMargins() : expectedFrame(w)) {}

    QRectF rect() const
    {
        return mShown ? QRectF(mWindow->frameGeometry()) : QRectF(mWindow->geometry().marginsAdded(mFrame));
    }

    void moveTo(int left, int top)
    {
        if (mShown)
            mWindow->move(left, top);
        else
            mWindow->setGeometry(QRect(QPoint(left + mFrame.left(), top + mFrame.top()), mWindow->size()));
    }

private:
    QWidget *mWindow;
    bool mShown;
    QMargins mFrame;
};
} // namespace

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSizeF screenSize = screen ? QSizeF(screen->geometry().size()) : QSizeF(640, 480);
    Outer outer(window);
    const QSizeF size = outer.rect().size();
    const double left = screenSize.width() / 2 - size.width() / 2;
    const double top = screenSize.height() / 2 - size.height() / 2;
    outer.moveTo(int(std::floor(left)), int(std::floor(top)));
}

void centreOver(QWidget *window, const QWidget *over)
{
    Outer outer(window);
    const QSizeF size = outer.rect().size();
    const QRectF base(over->frameGeometry());
    const double left = base.width() / 2 - size.width() / 2 + base.left();
    const double top = base.height() / 2 - size.height() / 2 + base.top();
    outer.moveTo(int(std::floor(left)), int(outer.rect().top()));
    outer.moveTo(int(outer.rect().left()), int(std::floor(top)));
}

void setHourglass()
{
    if (!QGuiApplication::overrideCursor())
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void setDefaultPointer()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool hourglassShown()
{
    return QGuiApplication::overrideCursor() != nullptr;
}

void setupFixedWindow(QWidget *window, int width, int height, bool titleBar)
{
    window->setFixedSize(width, height);
    window->setWindowIcon(assets::windowIcon());
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;
    if (titleBar)
        flags |= Qt::WindowTitleHint;
    else
        flags &= ~Qt::WindowTitleHint;  // a border without a title bar
    window->setWindowFlags(flags);
    // Dialogs keep the dialog type: a tool window would leave the task bar
    // too, but it is another kind of window, which a window manager may keep
    // above the main screen even when the main screen is used. Only the task
    // bar is told to leave them out.
    leaveOutOfTaskbar(window);
}

namespace {
// Watches the X11 event stream for the destruction of one native window.
class DestroyWatcher : public QAbstractNativeEventFilter {
public:
    DestroyWatcher(QWidget *window, std::function<void()> onDestroyed)
        : mWindow(window), mOnDestroyed(std::move(onDestroyed))
    {
    }
    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        // The layout of an X11 DestroyNotify event as xcb delivers it.
        struct DestroyNotify {
            quint8 responseType;
            quint8 pad;
            quint16 sequence;
            quint32 event;
            quint32 window;
        };
        constexpr quint8 kDestroyNotify = 17;
        if (type != "xcb_generic_event_t" || !mWindow)
            return false;
        const auto *e = static_cast<const DestroyNotify *>(message);
        if ((e->responseType & 0x7f) == kDestroyNotify && mWindow->testAttribute(Qt::WA_WState_Created)
            && e->window == quint32(mWindow->winId()))
            QTimer::singleShot(0, mWindow, mOnDestroyed);
        return false;
    }

private:
    QPointer<QWidget> mWindow;
    std::function<void()> mOnDestroyed;
};
} // namespace

void onExternalDestroy(QWidget *window, std::function<void()> onDestroyed)
{
    auto *watcher = new DestroyWatcher(window, std::move(onDestroyed));
    QCoreApplication::instance()->installNativeEventFilter(watcher);
    QObject::connect(window, &QObject::destroyed, [watcher] {
        QCoreApplication::instance()->removeNativeEventFilter(watcher);
        delete watcher;
    });
}

void unload(QWidget *window)
{
    if (!window || isUnloaded(window))
        return;
    window->setProperty(kUnloaded, true);
    window->hide();
    window->deleteLater();
}

bool isUnloaded(const QWidget *window)
{
    return window->property(kUnloaded).toBool();
}

Dialog::Dialog(QWidget *parent) : QDialog(parent)
{
    setModal(false);
    setMouseTracking(true);
}

void Dialog::setBackground(const QPixmap &picture)
{
    mBackground = picture;
}

void Dialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, mBackground);
}

void Dialog::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Form_MouseMove();
}

void Dialog::done(int result)
{
    QDialog::done(result);
    unload(this);
}

void Dialog::closeEvent(QCloseEvent *event)
{
    event->accept();
    done(QDialog::Rejected);
}

void Dialog::keyPressEvent(QKeyEvent *event)
{
    // These windows have no default or escape button: Escape and Enter do
    // not close them.
    event->ignore();
}

} // namespace ui
