// Shared by the two programs that the start-up and memory benchmarks start:
// reports the moment a program's first window has been painted, and the
// program's peak memory.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace probe {

// Peak resident memory of this process in kB (VmHWM), or -1.
inline long peakMemoryKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Calls `then` once, right after the first paint of a window has been
// handled and the event loop is back.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<void(QWidget *)> then) : mThen(std::move(then))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!mDone && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->isWindow()) {
            mDone = true;
            QWidget *window = static_cast<QWidget *>(watched);
            QTimer::singleShot(0, this, [this, window] { mThen(window); });
        }
        return false;
    }

private:
    std::function<void(QWidget *)> mThen;
    bool mDone = false;
};

// Prints one line on standard output at once.
inline void report(const char *line)
{
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace probe
