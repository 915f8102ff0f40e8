// The compiled-in artwork: backgrounds and button pictures of every window,
// the pointing-hand cursor and the window icon. The generator in tools/
// draws them at build time; they live in the resources under ":/art/".
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

#include <memory>
#include <thread>

namespace assets {

// The picture of a window ("frmGames", "frmCD", "frmHDD", "frmExit",
// "frmSave") by its control name ("imgRunLight", "imgOk2", ...), or
// "background". ":/art/<form>/<name>.png".
QPixmap picture(const QString &form, const QString &name);

// Decodes every picture of one window on a second thread, in the form the
// screen draws fastest, while the window's constructor builds its other
// controls; `picture` of that window then takes each decoded picture once,
// waiting for it if need be. One preload at a time, on the GUI thread; the
// decoding thread has ended when this object is gone.
class Preload {
public:
    explicit Preload(const QString &form);
    ~Preload();
    Preload(const Preload &) = delete;
    Preload &operator=(const Preload &) = delete;

    struct State;

private:
    std::shared_ptr<State> mState;
    std::thread mThread;
};

// The 32 x 32 two-colour pointing hand, hot spot at the finger tip (6, 0).
QCursor handCursor();

// The 32 x 32 16-colour window icon of every window.
QIcon windowIcon();

} // namespace assets
