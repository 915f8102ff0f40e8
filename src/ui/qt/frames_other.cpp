// Frames and the task bar where Qt is not on X11: Qt itself knows the frame
// a created window will get (on Windows from the window's style), and the
// task bar is left to Qt.
#include "frames.h"

#include <QWidget>
#include <QWindow>

namespace ui::qt {

QMargins expectedFrame(QWidget *window)
{
    window->winId();
    return window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
}

void leaveOutOfTaskbar(QWidget *) {}

} // namespace ui::qt
