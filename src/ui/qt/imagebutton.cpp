#include "imagebutton.h"

#include "assets/assets.h"

#include <QEvent>
#include <QFile>
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

HotArea::HotArea(QWidget *parent, const layout::Rect &rect) : ControlOf(parent)
{
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
