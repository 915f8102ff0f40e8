#include "window.h"

#include "assets/assets.h"
#include "frames.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <utility>
#include <vector>

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

void setTitleText(QWidget *window, const QString &title)
{
    // Each "[*][*]" stands for one "[*]" shown as it is.
    window->setWindowTitle(QString(title).replace(QLatin1String("[*]"), QLatin1String("[*][*]")));
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
    explicit DestroyWatcher(QWidget *window) : mWindow(window) {}
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
            && e->window == quint32(mWindow->internalWinId())) {
            // Not under a running copy: the window goes once the copy ends.
            BusyScope::whenNotBusy([window = mWindow] {
                if (window)
                    closeDestroyedWindow(window);
            });
        }
        return false;
    }

private:
    QPointer<QWidget> mWindow;
};
} // namespace

void closeDestroyedWindow(QWidget *window)
{
    if (isUnloaded(window))
        return;
    // Hiding a dialog would end its modal loop before its close reaction, so
    // only a window that stays up while it closes gets a new native window.
    if (!qobject_cast<QDialog *>(window) && window->windowHandle()) {
        window->hide();
        window->windowHandle()->destroy();
        window->show();
    }
    window->close();
}

void closeOnExternalDestroy(QWidget *window)
{
    auto *watcher = new DestroyWatcher(window);
    QCoreApplication::instance()->installNativeEventFilter(watcher);
    QObject::connect(window, &QObject::destroyed, [watcher] {
        QCoreApplication::instance()->removeNativeEventFilter(watcher);
        delete watcher;
    });
}

namespace {
// Drops input and holds back close requests while a copy runs.
class InputBlocker : public QObject {
public:
    int depth = 0;
    std::vector<std::function<void()>> deferred;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Enter:
        case QEvent::Leave:
        case QEvent::HoverEnter:
        case QEvent::HoverLeave:
        case QEvent::HoverMove:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::NonClientAreaMouseMove:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::InputMethod:
            return true;
        case QEvent::Close:
            // A close request of the window system reaches the native
            // window's QWindow (the program's own closes go to the widget);
            // it is repeated once the copy has ended.
            if (auto *window = qobject_cast<QWindow *>(watched)) {
                if (QWidget *widget = widgetOf(window)) {
                    deferred.push_back([widget = QPointer<QWidget>(widget)] {
                        if (widget && !isUnloaded(widget))
                            widget->close();
                    });
                }
                return true;
            }
            return false;
        default:
            return false;
        }
    }

private:
    static QWidget *widgetOf(const QWindow *window)
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->windowHandle() == window)
                return w;
        return nullptr;
    }
};

InputBlocker &blocker()
{
    static InputBlocker *instance = new InputBlocker;
    return *instance;
}

QElapsedTimer &paintClock()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock;
}

constexpr qint64 kPaintInterval = 50;  // ms
} // namespace

BusyScope::BusyScope()
{
    if (blocker().depth++ == 0)
        QCoreApplication::instance()->installEventFilter(&blocker());
}

BusyScope::~BusyScope()
{
    InputBlocker &b = blocker();
    if (--b.depth > 0)
        return;
    // Input that reached the program during the copy is dropped now, not
    // handed to the windows once they take input again.
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&b);
    for (auto &action : std::exchange(b.deferred, {}))
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(action));
}

void BusyScope::keepPainting()
{
    const qint64 now = paintClock().elapsed();
    if (mLastPaint >= 0 && now - mLastPaint < kPaintInterval)
        return;
    mLastPaint = now;
    QCoreApplication::processEvents();
}

bool BusyScope::active()
{
    return blocker().depth > 0;
}

void BusyScope::whenNotBusy(std::function<void()> action)
{
    if (active())
        blocker().deferred.push_back(std::move(action));
    else
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(action));
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
    closeOnExternalDestroy(this);
}

void Dialog::setBackground(const QPixmap &picture)
{
    mBackground = picture;
}

void Dialog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, mBackground);
    // A picture shorter than the client area (the notice's is one row short)
    // goes on downwards in its bottom row's colours, not the system's grey.
    const QSizeF picture = mBackground.deviceIndependentSize();
    if (!mBackground.isNull() && picture.height() < height())
        painter.drawPixmap(QRectF(0, picture.height(), picture.width(), height() - picture.height()), mBackground,
                           QRectF(0, mBackground.height() - 1, mBackground.width(), 1));
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
