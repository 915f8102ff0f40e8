#include "window.h"

#include "assets/assets.h"
#include "classic.h"
#include "frames.h"
#include "imagebutton.h"
#include "panes.h"
#include "platform/shell.h"
#include "progressbar.h"

#include <QAbstractNativeEventFilter>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <utility>
#include <vector>

namespace ui::qt {

namespace {

// A form's top-level widget: its background drawn at the top left, pointer
// movement over the bare background reaching the form, and every close
// request of the window system going to the form, which unloads the window
// when it should go.
template <class Base> class TopLevel : public Base, public FormWidget {
public:
    TopLevel(ui::Window &form, const assets::ScaledPicture &background) : mForm(form), mBackground(background)
    {
        Base::setMouseTracking(true);
    }
    ui::Window &form() const override { return mForm; }
    bool inCloseEvent() const override { return mInCloseEvent; }
    void setTabCycle(std::vector<QPointer<QWidget>> cycle) override { mTabCycle = std::move(cycle); }

protected:
    // Tab and Shift+Tab go round the form's cycle, passing over what is
    // hidden or disabled; from outside the cycle (nothing focused yet) Tab
    // starts at its first control and Shift+Tab at its last.
    bool focusNextPrevChild(bool next) override
    {
        if (mTabCycle.empty())
            return Base::focusNextPrevChild(next);
        const int n = int(mTabCycle.size());
        int at = -1;
        for (const QWidget *w = Base::focusWidget(); w && at < 0 && w != this; w = w->parentWidget())
            for (int i = 0; i < n; ++i)
                if (mTabCycle[std::size_t(i)] == w)
                    at = i;
        if (at < 0)
            at = next ? -1 : n;
        for (int k = 1; k <= n; ++k) {
            QWidget *candidate = mTabCycle[std::size_t(((at + (next ? k : -k)) % n + n) % n)];
            if (candidate && candidate->isVisible() && candidate->isEnabled()) {
                candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                break;
            }
        }
        return true;
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (!escape(event))
            Base::keyPressEvent(event);
    }

    void keyReleaseEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape)
            mEscapeReleasedAt = event->timestamp();
        Base::keyReleaseEvent(event);
    }

    // Escape reaches the window from whichever control has the focus (none
    // of them uses it): once per stroke, the form's onEscape; unset, nothing.
    // A press stamped as the release before it is a repeat that the toolkit
    // did not flag (X11 sends the two together while the key is held).
    bool escape(QKeyEvent *event)
    {
        if (event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier)
            return false;
        event->accept();
        const bool repeat = event->isAutoRepeat() || event->timestamp() == mEscapeReleasedAt;
        if (!repeat && mForm.onEscape)
            mForm.onEscape();
        return true;
    }

    void paintEvent(QPaintEvent *) override
    {
        // The drawing for the screen the window is on now (it may move to
        // a screen of another density).
        const QPixmap background = mBackground.at(Base::devicePixelRatioF());
        QPainter painter(this);
        painter.drawPixmap(0, 0, background);
        // A picture shorter than the client area (the notice's is one row
        // short) goes on downwards in its bottom row's colours, not the
        // system's grey.
        const QSizeF picture = background.deviceIndependentSize();
        if (!background.isNull() && picture.height() < Base::height())
            painter.drawPixmap(QRectF(0, picture.height(), picture.width(), Base::height() - picture.height()),
                               background, QRectF(0, background.height() - 1, background.width(), 1));
        // Between whole ratios a picture's first device row or column may lie
        // just outside its control, where only the window reaches: the
        // window draws the shown pictures too, and each control draws over
        // its own part of them.
        if (!fractionalRatio(Base::devicePixelRatioF()))
            return;
        for (QObject *child : Base::children()) {
            auto *widget = qobject_cast<QWidget *>(child);
            if (!widget || widget->isHidden())
                continue;
            if (auto *picture = dynamic_cast<Picture *>(widget))
                picture->drawOn(painter, this);
            else if (auto *bar = dynamic_cast<ProgressBar *>(widget))
                bar->drawOn(painter, this);
        }
    }

    bool event(QEvent *event) override
    {
        // On a screen of another density the hot areas take its hand.
        if (event->type() == QEvent::ScreenChangeInternal)
            for (HotArea *area : Base::template findChildren<HotArea *>(Qt::FindDirectChildrenOnly))
                area->screenChanged();
        return Base::event(event);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        event->accept();
        if (mForm.onMouseMove)
            mForm.onMouseMove();
    }

    void closeEvent(QCloseEvent *event) override
    {
        // A window already unloaded is going anyway (the end of the program
        // closes every window and must not be refused).
        if (!mForm.unloaded()) {
            const bool outer = !mInCloseEvent;
            mInCloseEvent = true;
            mForm.closeRequested();
            if (outer)
                mInCloseEvent = false;
        }
        // Taken as the window's closing only when the form unloaded it, so
        // that the last window closing ends the program, as the toolkit has it.
        event->setAccepted(mForm.unloaded());
    }

    ui::Window &mForm;
    assets::ScaledPicture mBackground;
    bool mInCloseEvent = false;
    std::vector<QPointer<QWidget>> mTabCycle;
    quint64 mEscapeReleasedAt = quint64(-1);
};

class MainWidget : public TopLevel<QWidget> {
public:
    using TopLevel::TopLevel;
};

// A screen reader takes the main screen for an application's window, not
// for a pane inside one (what a plain top-level widget would be).
QAccessibleInterface *mainWidgetAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String("QWidget"))
        return nullptr;
    auto *main = dynamic_cast<MainWidget *>(object);
    return main ? new QAccessibleWidget(main, QAccessible::Window) : nullptr;
}

class DialogWidget : public TopLevel<QDialog> {
public:
    using TopLevel::TopLevel;

    // Any end of the dialog unloads its form.
    void done(int result) override
    {
        QDialog::done(result);
        if (!mForm.unloaded())
            mForm.unload();
    }

    // Ends the display without unloading (the unload does the rest).
    void finish() { QDialog::done(QDialog::Rejected); }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        // These windows have no default button, and Escape is the form's:
        // neither Escape nor Enter closes them by itself.
        if (!escape(event))
            event->ignore();
    }
};

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
            whenNotBusy([window = mWindow] {
                if (window)
                    closeDestroyedWindow(window);
            });
        }
        return false;
    }

private:
    QPointer<QWidget> mWindow;
};

// Watches for the window system destroying the window's native window from
// outside the program, as `xdotool windowclose` does on X11 without a window
// manager; that is a close request.
void closeOnExternalDestroy(QWidget *window)
{
    auto *watcher = new DestroyWatcher(window);
    QCoreApplication::instance()->installNativeEventFilter(watcher);
    QObject::connect(window, &QObject::destroyed, [watcher] {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(watcher);
        delete watcher;
    });
}

// The loaded form whose top-level widget this is, else null.
ui::Window *loadedFormOf(const QWidget *widget)
{
    const auto *top = dynamic_cast<const FormWidget *>(widget);
    return top && !top->form().unloaded() ? &top->form() : nullptr;
}

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
                        if (widget && loadedFormOf(widget))
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

// Deletes a form once control is back in the event loop it was unloaded
// from.
class FormDeleter : public QObject {
public:
    explicit FormDeleter(ui::Window *form) : mForm(form) {}
    ~FormDeleter() override { delete mForm; }

private:
    ui::Window *mForm;
};

} // namespace

QWidget *widgetOf(const ui::Window &form)
{
    return static_cast<const FormWindow &>(form.impl()).widget();
}

void setTitleText(QWidget *window, const QString &title)
{
    // Each "[*][*]" stands for one "[*]" shown as it is.
    window->setWindowTitle(QString(title).replace(QLatin1String("[*]"), QLatin1String("[*][*]")));
}

void closeDestroyedWindow(QWidget *window)
{
    if (!loadedFormOf(window))
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

void whenNotBusy(std::function<void()> action)
{
    if (blocker().depth > 0)
        blocker().deferred.push_back(std::move(action));
    else
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(action));
}

// ---------------------------------------------------------------------------
// A form's window

FormWindow::FormWindow(ui::Window &form, const WindowSetup &setup) : mPictures(setup.pictures)
{
    const assets::ScaledPicture background(toQ(setup.pictures), QStringLiteral("background"));
    QWidget *w;
    if (setup.frame == Frame::MainScreen) {
        static const bool accessible = (QAccessible::installFactory(mainWidgetAccessible), true);
        Q_UNUSED(accessible);
        w = new MainWidget(form, background);
        w->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint);
    } else {
        auto *dialog = new DialogWidget(form, background);
        dialog->setModal(false);
        Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;
        if (setup.frame == Frame::Dialog)
            flags |= Qt::WindowTitleHint;
        else
            flags &= ~Qt::WindowTitleHint;  // a border without a title bar
        dialog->setWindowFlags(flags);
        // Dialogs keep the dialog type: a tool window would leave the task
        // bar too, but it is another kind of window, which a window manager
        // may keep above the main screen even when the main screen is used.
        // Only the task bar is told to leave them out.
        leaveOutOfTaskbar(dialog);
        w = dialog;
    }
    w->setFixedSize(setup.width, setup.height);
    w->setWindowIcon(assets::windowIcon());
    mWidget = w;
    setTitle(setup.title);
    // A native window destroyed from outside is a close request.
    closeOnExternalDestroy(w);
}

FormWindow::~FormWindow()
{
    delete mWidget.data();
}

ui::Picture *FormWindow::addPicture(const layout::Rect &rect, const std::string &name)
{
    return new Picture(mWidget, rect, assets::ScaledPicture(toQ(mPictures), toQ(name)));
}

ui::HotArea *FormWindow::addHotArea(const layout::Rect &rect) { return new HotArea(mWidget, rect); }
ui::Label *FormWindow::addLabel(const layout::Rect &rect, ui::LabelStyle style) { return new Label(mWidget, rect, style); }
ui::ListBox *FormWindow::addListBox(const layout::Rect &rect) { return new ListBox(mWidget, rect); }
ui::TextPane *FormWindow::addTextPane(const layout::Rect &rect) { return new TextPane(mWidget, rect); }
ui::TextBox *FormWindow::addTextBox(const layout::Rect &rect) { return new TextBox(mWidget, rect); }

ui::ProgressBar *FormWindow::addProgressBar(const layout::Rect &rect, const std::string &trough,
                                            const std::string &fill, const layout::Rect &fillRect)
{
    const QString pictures = toQ(mPictures);
    return new ProgressBar(mWidget, rect, assets::ScaledPicture(pictures, toQ(trough)),
                           assets::ScaledPicture(pictures, toQ(fill)),
                           QPoint(fillRect.x - rect.x, fillRect.y - rect.y));
}

ui::DriveList *FormWindow::addDriveList(const layout::Rect &rect) { return new DriveList(mWidget, rect); }
ui::FolderList *FormWindow::addFolderList(const layout::Rect &rect) { return new FolderList(mWidget, rect); }
ui::FileList *FormWindow::addFileList(const layout::Rect &rect) { return new FileList(mWidget, rect); }

void FormWindow::setTabOrder(const std::vector<Control *> &controls)
{
    std::vector<QPointer<QWidget>> cycle;
    for (Control *control : controls)
        if (auto *w = dynamic_cast<QWidget *>(control))
            cycle.emplace_back(w);
    dynamic_cast<FormWidget &>(*mWidget).setTabCycle(std::move(cycle));
    // Until the form puts the focus on a control, the window keeps it itself:
    // otherwise the toolkit would give it to the first control that takes
    // Tab as the window opens, and a dialog must open with nothing focused.
    if (!mWidget->focusWidget())
        mWidget->setFocus(Qt::OtherFocusReason);
}

void FormWindow::setAccessibleDescription(const std::string &text)
{
    mWidget->setAccessibleDescription(toQ(text));
}

void FormWindow::setTitle(const std::string &title)
{
    mTitle = title;
    setTitleText(mWidget, toQ(title));
}

QMargins FormWindow::expectedFrameNow() const
{
    return mWidget->isVisible() ? QMargins() : expectedFrame(mWidget);
}

// A shown window measures its frame; one not shown yet has none to measure,
// so the window system is asked for the frame it will give it, and the
// window is placed by its client area, offset by that frame (Qt would
// otherwise take the position for the frame's or the client area's as it
// sees fit).
layout::Rect FormWindow::outerRect() const
{
    const QRect r = mWidget->isVisible() ? mWidget->frameGeometry() : mWidget->geometry().marginsAdded(expectedFrameNow());
    return {r.x(), r.y(), r.width(), r.height()};
}

void FormWindow::moveOuter(int left, int top)
{
    if (mWidget->isVisible()) {
        mWidget->move(left, top);
        return;
    }
    const QMargins frame = expectedFrameNow();
    mWidget->setGeometry(QRect(QPoint(left + frame.left(), top + frame.top()), mWidget->size()));
}

void FormWindow::showModal()
{
    QPointer<QWidget> guard = mWidget;
    mWidget->setWindowModality(Qt::ApplicationModal);
    if (auto *dialog = qobject_cast<QDialog *>(mWidget)) {
        dialog->exec();
        return;
    }
    QEventLoop loop;
    mModalLoop = &loop;
    mWidget->show();
    loop.exec(QEventLoop::DialogExec);
    if (guard)
        mModalLoop = nullptr;
}

void FormWindow::showModeless()
{
    if (qobject_cast<QDialog *>(mWidget))
        mWidget->setWindowModality(Qt::NonModal);
    mWidget->show();
}

bool FormWindow::visible() const
{
    return mWidget->isVisible();
}

void FormWindow::hide()
{
    mWidget->hide();
}

void FormWindow::dismiss()
{
    // Closed rather than hidden, so that the last window closing ends the
    // program: a dialog's end closes it, the main screen is closed here
    // unless this is its close event, which then takes the closing.
    if (auto *dialog = dynamic_cast<DialogWidget *>(mWidget.data())) {
        dialog->finish();
        return;
    }
    if (!dynamic_cast<FormWidget &>(*mWidget).inCloseEvent())
        mWidget->close();
    mWidget->hide();
    if (mModalLoop)
        mModalLoop->exit();
}

std::uintptr_t FormWindow::nativeHandle() const
{
    return std::uintptr_t(mWidget->winId());
}

} // namespace ui::qt

// ---------------------------------------------------------------------------
// The program-wide services of the implementation

namespace ui::backend {

std::unique_ptr<WindowImpl> createWindow(Window &form, const WindowSetup &setup)
{
    return std::make_unique<qt::FormWindow>(form, setup);
}

void destroyLater(Window *form)
{
    (new qt::FormDeleter(form))->deleteLater();
}

ScreenSize primaryScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(640, 480);
    return {size.width(), size.height()};
}

void setHourglass(bool shown)
{
    if (shown) {
        if (!QGuiApplication::overrideCursor())
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        return;
    }
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

bool hourglassShown()
{
    return QGuiApplication::overrideCursor() != nullptr;
}

void beginBusy()
{
    if (qt::blocker().depth++ == 0)
        QCoreApplication::instance()->installEventFilter(&qt::blocker());
}

void endBusy()
{
    qt::InputBlocker &b = qt::blocker();
    if (--b.depth > 0)
        return;
    // Input that reached the program during the copy is dropped now, not
    // handed to the windows once they take input again.
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(&b);
    for (auto &action : std::exchange(b.deferred, {}))
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(action));
}

void paint()
{
    QCoreApplication::processEvents();
}

int run(int argc, char *argv[], const std::function<bool()> &start)
{
    qt::FontWarmUp fonts;
    QApplication app(argc, argv);
    fonts.applicationReady();
    QApplication::setApplicationName(QStringLiteral("Quorvia"));
    int status = 0;
    if (start()) {
        // The sound player is loaded while the user looks at the main
        // screen, not before it shows; a sound asked for sooner waits for it.
        QTimer::singleShot(200, [] { platform::prepareSound(); });
        status = app.exec();
    }
    fonts.wait();
    return status;
}

} // namespace ui::backend
