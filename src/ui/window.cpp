// The toolkit-free side of the windows: what every form shares (placement by
// outer sizes, the lifetime of a form, the program-wide pointer), written once
// over the implementation's WindowImpl.
#include "window.h"

#include "backend.h"

#include <chrono>
#include <cmath>

namespace ui {

namespace {
Window *gMainScreen = nullptr;
} // namespace

Window::Window(const WindowSetup &setup) : mImpl(backend::createWindow(*this, setup)) {}

Window::~Window()
{
    if (mSlot && *mSlot == this)
        *mSlot = nullptr;
    if (gMainScreen == this)
        gMainScreen = nullptr;
}

Picture *Window::addPicture(const layout::Rect &rect, const std::string &name) { return mImpl->addPicture(rect, name); }
HotArea *Window::addHotArea(const layout::Rect &rect) { return mImpl->addHotArea(rect); }
Label *Window::addLabel(const layout::Rect &rect, LabelStyle style) { return mImpl->addLabel(rect, style); }
ListBox *Window::addListBox(const layout::Rect &rect) { return mImpl->addListBox(rect); }
TextPane *Window::addTextPane(const layout::Rect &rect) { return mImpl->addTextPane(rect); }
TextBox *Window::addTextBox(const layout::Rect &rect) { return mImpl->addTextBox(rect); }
ProgressBar *Window::addProgressBar(const layout::Rect &rect, const std::string &trough, const std::string &fill,
                                    const layout::Rect &fillRect)
{
    return mImpl->addProgressBar(rect, trough, fill, fillRect);
}
DriveList *Window::addDriveList(const layout::Rect &rect) { return mImpl->addDriveList(rect); }
FolderList *Window::addFolderList(const layout::Rect &rect) { return mImpl->addFolderList(rect); }
FileList *Window::addFileList(const layout::Rect &rect) { return mImpl->addFileList(rect); }

void Window::setTabOrder(std::initializer_list<Control *> controls) { mImpl->setTabOrder({controls}); }
void Window::setAccessibleDescription(const std::string &text) { mImpl->setAccessibleDescription(text); }
void Window::setTitle(const std::string &title) { mImpl->setTitle(title); }
std::string Window::title() const { return mImpl->title(); }
layout::Rect Window::outerRect() const { return mImpl->outerRect(); }
void Window::moveOuter(int left, int top) { mImpl->moveOuter(left, top); }
void Window::showModal() { mImpl->showModal(); }
void Window::showModeless() { mImpl->showModeless(); }
bool Window::visible() const { return mImpl->visible(); }
void Window::hide() { mImpl->hide(); }
std::uintptr_t Window::nativeHandle() const { return mImpl->nativeHandle(); }

void Window::close()
{
    closeRequested();
}

void Window::closeRequested()
{
    if (mUnloaded)
        return;
    if (onClose)
        onClose();
    else
        unload();
}

void Window::unload()
{
    if (mUnloaded)
        return;
    // Marked first: a form<F>() from here on builds a new instance, and the
    // close that ending the display may bring is not taken for a new one.
    mUnloaded = true;
    mImpl->dismiss();
    backend::destroyLater(this);
}

void Window::setMainScreen()
{
    gMainScreen = this;
}

Window *mainScreen()
{
    return gMainScreen && !gMainScreen->unloaded() ? gMainScreen : nullptr;
}

ScreenSize primaryScreen()
{
    return backend::primaryScreen();
}

void centreOnScreen(Window &window)
{
    const ScreenSize screen = primaryScreen();
    const layout::Rect outer = window.outerRect();
    const double left = screen.width / 2.0 - outer.w / 2.0;
    const double top = screen.height / 2.0 - outer.h / 2.0;
    window.moveOuter(int(std::floor(left)), int(std::floor(top)));
}

void centreOver(Window &window, const Window &over)
{
    const layout::Rect size = window.outerRect();
    const layout::Rect base = over.outerRect();
    const double left = base.w / 2.0 - size.w / 2.0 + base.x;
    const double top = base.h / 2.0 - size.h / 2.0 + base.y;
    // The left edge is set first, the top edge then, each keeping the other.
    window.moveOuter(int(std::floor(left)), window.outerRect().y);
    window.moveOuter(window.outerRect().x, int(std::floor(top)));
}

void setHourglass() { backend::setHourglass(true); }
void setDefaultPointer() { backend::setHourglass(false); }
bool hourglassShown() { return backend::hourglassShown(); }

namespace {
constexpr long long kPaintInterval = 50;  // ms

long long steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

BusyScope::BusyScope()
{
    backend::beginBusy();
}

BusyScope::~BusyScope()
{
    backend::endBusy();
}

void BusyScope::keepPainting()
{
    const long long now = steadyMilliseconds();
    if (mLastPaint >= 0 && now - mLastPaint < kPaintInterval)
        return;
    mLastPaint = now;
    backend::paint();
}

int run(int argc, char *argv[], const std::function<bool()> &start)
{
    return backend::run(argc, argv, start);
}

} // namespace ui
