#include "imagebutton.h"

#include "assets/assets.h"

#include <QFile>
#include <QMouseEvent>

#include <chrono>

namespace ui {

HotArea::HotArea(QWidget *parent, const QRect &rect) : QLabel(parent)
{
    setGeometry(rect);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setCursor(assets::handCursor());
    setFocusPolicy(Qt::NoFocus);
}

void HotArea::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseMove();
}

void HotArea::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        mLeftPressed = true;
    emit mouseDown();
}

void HotArea::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click shows the pressed look like any
    // press, but its release is no second click: one action per double-click.
    event->accept();
    if (event->button() == Qt::LeftButton)
        mLeftPressed = false;
    emit mouseDown();
}

void HotArea::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const bool clicked = event->button() == Qt::LeftButton && mLeftPressed
                         && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        mLeftPressed = false;
    emit mouseUp();
    if (clicked)
        emit click();
}

Picture::Picture(QWidget *parent, const QRect &rect, const QPixmap &pixmap) : QLabel(parent)
{
    setGeometry(rect);
    setPixmap(pixmap);
    setScaledContents(false);
    setMouseTracking(true);
    hide();
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

void Picture::mouseMoveEvent(QMouseEvent *event) { event->accept(); }
void Picture::mousePressEvent(QMouseEvent *event) { event->accept(); }
void Picture::mouseReleaseEvent(QMouseEvent *event) { event->accept(); }

} // namespace ui
