// What the window system adds to a top-level window of its own accord: the
// frame around it, and an entry in the task bar.
#pragma once

#include <QMargins>

class QWidget;

namespace ui::qt {

// The frame (borders and title bar, in pixels) that the window system gives
// the window, asked for before the window is first shown, so that it can be
// placed by its outer size. Empty where no window manager answers (offscreen,
// an X display without a window manager).
QMargins expectedFrame(QWidget *window);

// Leaves the window out of the task bar from its next showing on; its window
// type and everything else about it stay as they are. Where the window system
// has no such notion it does nothing.
void leaveOutOfTaskbar(QWidget *window);

} // namespace ui::qt
