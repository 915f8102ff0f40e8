// The keyboard as a user works it: keys typed into a window go to whatever
// has the focus there, a held key repeats as the window system repeats it,
// and the focus rectangle is read from what the window draws.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

// A key typed into a window: the press and the release go to the control
// that has the focus, as real keys do. Each waits a millisecond first, so
// that no two strokes carry one time stamp, as no typist's do.
inline void typeKey(QWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(window, key, modifiers, 1);
}
inline void typeKey(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    typeKey(window->windowHandle(), key, modifiers);
}

// A key held down long enough to repeat: one real press, then `repeats`
// pairs of auto-repeated release and press (as X11 delivers them), then the
// real release.
inline void holdKey(QWindow *window, Qt::Key key, int repeats)
{
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : key == Qt::Key_Return ? QStringLiteral("\r") : QString();
    qt_handleKeyEvent(window, QEvent::KeyPress, key, Qt::NoModifier, text, false);
    for (int i = 0; i < repeats; ++i) {
        qt_handleKeyEvent(window, QEvent::KeyRelease, key, Qt::NoModifier, text, true);
        qt_handleKeyEvent(window, QEvent::KeyPress, key, Qt::NoModifier, text, true);
    }
    qt_handleKeyEvent(window, QEvent::KeyRelease, key, Qt::NoModifier, text, false);
}

// A key held down as X11 may deliver it: repeated releases and presses in
// pairs with one time stamp each, which the toolkit did not flag as repeats,
// sent to the control that has the focus (or to `target`).
inline void holdKeyUnflagged(Qt::Key key, int repeats, QWidget *target = nullptr)
{
    const auto send = [&](QEvent::Type type, quint64 time) {
        QWidget *to = target ? target : QApplication::focusWidget();
        QKeyEvent event(type, key, Qt::NoModifier);
        event.setTimestamp(time);
        QApplication::sendEvent(to, &event);
    };
    quint64 time = 100000;
    send(QEvent::KeyPress, time);
    time += 660;
    for (int i = 0; i < repeats; ++i, time += 40) {
        send(QEvent::KeyRelease, time);
        send(QEvent::KeyPress, time);
    }
    send(QEvent::KeyRelease, time + 17);
}

inline QWidget *focusedWidget() { return QApplication::focusWidget(); }

// What a window shows over a rectangle of its client area.
inline QImage shownAt(QWidget *window, const QRect &area)
{
    return window->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}

// True when `focused` is `plain` with a dotted 1 px outline along its edge:
// walking round the edge once from the top left, every other pixel is
// inverted and the ones between are untouched, as is everything inside.
inline bool showsDottedOutline(const QImage &plain, const QImage &focused)
{
    if (plain.size() != focused.size() || plain.width() < 2 || plain.height() < 2)
        return false;
    const int w = plain.width(), h = plain.height();
    QList<QPoint> edge;
    for (int x = 0; x < w; ++x)
        edge << QPoint(x, 0);
    for (int y = 1; y < h; ++y)
        edge << QPoint(w - 1, y);
    for (int x = w - 2; x >= 0; --x)
        edge << QPoint(x, h - 1);
    for (int y = h - 2; y >= 1; --y)
        edge << QPoint(0, y);
    for (int i = 0; i < edge.size(); ++i) {
        const QRgb before = plain.pixel(edge[i]) & 0xffffff, after = focused.pixel(edge[i]) & 0xffffff;
        if (after != (i % 2 == 0 ? before ^ 0xffffff : before))
            return false;
    }
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x)
            if (plain.pixel(x, y) != focused.pixel(x, y))
                return false;
    return true;
}

// What Qt's accessibility interface tells a screen reader about a widget.
struct Spoken {
    QAccessible::Role role;
    QString name, description;
    QAccessible::State state;
};
inline Spoken spokenOf(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    if (!iface)
        return {QAccessible::NoRole, {}, {}, {}};
    return {iface->role(), iface->text(QAccessible::Name), iface->text(QAccessible::Description), iface->state()};
}
