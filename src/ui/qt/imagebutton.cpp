#include "imagebutton.h"

#include "assets/assets.h"

#include <QEvent>
#include <QFile>
#include <QMouseEvent>

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

HotArea::HotArea(QWidget *parent, const layout::Rect &rect) : ControlOf(parent)
{
    place(rect, true);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    QLabel::setCursor(assets::handCursor());
    setFocusPolicy(Qt::NoFocus);
}

void HotArea::setCursor(Cursor cursor)
{
    if (cursor == Cursor::Hand)
        QLabel::setCursor(assets::handCursor());
    else
        QLabel::setCursor(Qt::ArrowCursor);
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

Picture::Picture(QWidget *parent, const layout::Rect &rect, const QPixmap &pixmap) : ControlOf(parent)
{
    place(rect, false);
    setPixmap(pixmap);
    setScaledContents(false);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Picture::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
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
