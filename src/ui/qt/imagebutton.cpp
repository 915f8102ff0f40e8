#include "imagebutton.h"

#include "assets/assets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include <chrono>

namespace ui::qt {

MovementWatcher::MovementWatcher(QObject *parent, const Event &event, std::initializer_list<QWidget *> widgets)
    : QObject(parent), mEvent(event)
{
    for (QWidget *w : widgets) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
}

bool MovementWatcher::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && mEvent)
        mEvent();
    return false;
}

namespace {

// What a screen reader finds on a hot area: a push button with the name and
// description the form gave, focusable, focused and selected as it is, that
// the reader can press or focus.
class HotAreaAccessible : public QAccessibleWidget {
public:
    explicit HotAreaAccessible(HotArea *area) : QAccessibleWidget(area, QAccessible::Button), mArea(area) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = !s.invisible;
        s.focused = mArea->hasFocus();
        s.selected = mArea->selected();
        return s;
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString &action) override
    {
        if (!mArea->isVisible() || !mArea->isEnabled())
            return;
        if (action == pressAction())
            mArea->keyClick();
        else if (action == setFocusAction())
            mArea->setFocus();
    }

private:
    HotArea *mArea;
};

QAccessibleInterface *hotAreaAccessible(const QString &className, QObject *object)
{
    // A hot area has no meta-object of its own: it shows as a QLabel.
    if (className != QLatin1String("QLabel"))
        return nullptr;
    auto *area = dynamic_cast<HotArea *>(object);
    return area ? new HotAreaAccessible(area) : nullptr;
}

} // namespace

HotArea::HotArea(QWidget *parent, const layout::Rect &rect) : ControlOf(parent)
{
    static const bool accessible = (QAccessible::installFactory(hotAreaAccessible), true);
    Q_UNUSED(accessible);
    place(rect, true);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    QLabel::setCursor(assets::handCursor(devicePixelRatioF()));
    setFocusPolicy(Qt::NoFocus);
}

void HotArea::setCursor(Cursor cursor)
{
    mCursor = cursor;
    if (cursor == Cursor::Hand)
        QLabel::setCursor(assets::handCursor(devicePixelRatioF()));
    else
        QLabel::setCursor(Qt::ArrowCursor);
}

void HotArea::screenChanged()
{
    if (mCursor == Cursor::Hand)
        QLabel::setCursor(assets::handCursor(devicePixelRatioF()));
}

void HotArea::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (onMouseMove)
        onMouseMove();
}

void HotArea::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        mLeftPressed = true;
    if (onMouseDown)
        onMouseDown();
}

void HotArea::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click shows the pressed look like any
    // press, but its release is no second click: one action per double-click.
    event->accept();
    if (event->button() == Qt::LeftButton)
        mLeftPressed = false;
    if (onMouseDown)
        onMouseDown();
}

void HotArea::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool clicked = event->button() == Qt::LeftButton && mLeftPressed
                         && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        mLeftPressed = false;
    if (onMouseUp)
        onMouseUp();
    if (clicked && onClick)
        onClick();
}

void HotArea::setFocus()
{
    // A hidden button (the information dialog's OK before it is shown)
    // takes no focus.
    if (!visible() || !isEnabled())
        return;
    QLabel::setFocus(Qt::OtherFocusReason);
}

void HotArea::setAccessible(const std::string &name, const std::string &description)
{
    setAccessibleName(toQ(name));
    setAccessibleDescription(toQ(description));
}

void HotArea::setSelected(bool selected)
{
    if (selected == mSelected)
        return;
    mSelected = selected;
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void HotArea::keyClick()
{
    if (onClick)
        onClick();
}

bool HotArea::repeated(const QKeyEvent *event) const
{
    // The toolkit flags most of a held key's repeats, but on X11 it misses
    // some: a release and a press that the window system sent together,
    // with one time stamp.
    return event->isAutoRepeat() || (event->key() == mReleasedKey && event->timestamp() == mReleasedAt);
}

void HotArea::keyPressEvent(QKeyEvent *event)
{
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!plain)
            break;
        // A click as the key goes down; the key's auto-repeat is no click.
        event->accept();
        if (!repeated(event))
            keyClick();
        return;
    case Qt::Key_Space:
        if (!plain)
            break;
        event->accept();
        if (!repeated(event))
            mSpacePressed = true;
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (!plain || !onArrow)
            break;
        event->accept();
        const Arrow arrow = event->key() == Qt::Key_Up     ? Arrow::Up
                            : event->key() == Qt::Key_Down ? Arrow::Down
                            : event->key() == Qt::Key_Left ? Arrow::Left
                                                           : Arrow::Right;
        onArrow(arrow);
        return;
    }
    default:
        break;
    }
    // Escape and the rest go on to the window.
    event->ignore();
}

void HotArea::keyReleaseEvent(QKeyEvent *event)
{
    mReleasedKey = event->key();
    mReleasedAt = event->timestamp();
    // Space clicks as it comes up, once per stroke: the releases of its
    // auto-repeat are no click, nor is a release whose press went elsewhere.
    // A repeat's release the toolkit did not flag clicks early, but the
    // presses that follow it start no new stroke.
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && mSpacePressed) {
        event->accept();
        mSpacePressed = false;
        keyClick();
        return;
    }
    event->ignore();
}

void HotArea::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
    // A dialog as it shows sends its focus widget a focus-in of its own
    // before the window system's; only the real one counts.
    if (!hasFocus())
        return;
    // Getting back the focus it kept while another window was active is no
    // new arrival (no second roll-over); any other focus-in is, also the
    // first one of a window that opens with the focus here.
    const bool back = !focusArrived(event) && mKeptFocus;
    mKeptFocus = false;
    if (!back && onFocus)
        onFocus();
}

void HotArea::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    mKeptFocus = !focusArrived(event);
    mSpacePressed = false;
    update();
}

void HotArea::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // The focus: a dotted 1 px rectangle just inside the hot area, every
    // other pixel inverted, so that it shows on the light plates and on the
    // dark faces alike; it lies above the pictures, which pointer movement
    // shows and hides beneath it.
    QPainter painter(this);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const int w = width(), h = height();
    if (w < 2 || h < 2)
        return;
    // Each pixel of the outline once, walked around it, so that no corner is
    // inverted twice.
    int step = 0;
    const auto dot = [&](int x, int y) {
        if (step++ % 2 == 0)
            painter.fillRect(QRect(x, y, 1, 1), Qt::white);
    };
    for (int x = 0; x < w; ++x)
        dot(x, 0);
    for (int y = 1; y < h; ++y)
        dot(w - 1, y);
    for (int x = w - 2; x >= 0; --x)
        dot(x, h - 1);
    for (int y = h - 2; y >= 1; --y)
        dot(0, y);
}

void drawOnDevicePixels(QPainter &painter, const QWidget *widget, const QPoint &at, const QPixmap &pixmap)
{
    const qreal ratio = pixmap.devicePixelRatio();
    const QPoint inWindow = widget->mapTo(widget->window(), at);
    // The device pixel at or before the place (a hair of tolerance for the
    // rounding of the ratio), back in the widget's coordinates.
    auto start = [ratio](int v) { return std::floor(v * ratio + 1e-6) / ratio - v; };
    painter.drawPixmap(QPointF(at.x() + start(inWindow.x()), at.y() + start(inWindow.y())), pixmap);
}

Picture::Picture(QWidget *parent, const layout::Rect &rect, const assets::ScaledPicture &picture)
    : ControlOf(parent), mPicture(picture)
{
    place(rect, false);
    setPixmap(picture.base());
    setScaledContents(false);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void updateAround(QWidget *control)
{
    if (control->parentWidget() && fractionalRatio(control->devicePixelRatioF()))
        control->parentWidget()->update(control->geometry().adjusted(-1, -1, 1, 1));
}

void Picture::show()
{
    ControlOf::show();
    updateAround(this);
}

void Picture::hide()
{
    ControlOf::hide();
    updateAround(this);
}

void Picture::drawOn(QPainter &painter, const QWidget *on) const
{
    drawOnDevicePixels(painter, on, mapTo(on, QPoint()), mPicture.at(devicePixelRatioF()));
}

void Picture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawOnDevicePixels(painter, this, QPoint(), mPicture.at(devicePixelRatioF()));
    painter.end();
    // For the tests that time how soon the program answers the pointer: with
    // QUORVIA_TEST_PAINT_LOG set, each paint of a named picture appends its
    // name and the wall-clock time in microseconds to that file.
    static const QString log = qEnvironmentVariable("QUORVIA_TEST_PAINT_LOG");
    if (log.isEmpty() || objectName().isEmpty())
        return;
    const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    QFile file(log);
    if (file.open(QIODevice::Append))
        file.write(objectName().toUtf8() + ' ' + QByteArray::number(qlonglong(now.count())) + '\n');
}

} // namespace ui::qt
