// What an implementation of the control library (ui/qt/, ui/win32/)
// provides. The forms never include this; ui's own toolkit-free code does.
#pragma once

#include "controls.h"
#include "layout.h"
#include "window.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui::backend {

// One window of the toolkit. It calls its form's onMouseMove for movement
// over the bare background, onEscape for the Escape key, and
// Window::closeRequested() for the close command and the window system's
// close requests (deferred while a BusyScope is active).
class WindowImpl {
public:
    virtual ~WindowImpl() = default;
    virtual Picture *addPicture(const layout::Rect &rect, const std::string &name) = 0;
    virtual HotArea *addHotArea(const layout::Rect &rect) = 0;
    virtual Label *addLabel(const layout::Rect &rect, LabelStyle style) = 0;
    virtual ListBox *addListBox(const layout::Rect &rect) = 0;
    virtual TextPane *addTextPane(const layout::Rect &rect) = 0;
    virtual TextBox *addTextBox(const layout::Rect &rect) = 0;
    virtual ProgressBar *addProgressBar(const layout::Rect &rect, const std::string &trough, const std::string &fill,
                                        const layout::Rect &fillRect) = 0;
    virtual DriveList *addDriveList(const layout::Rect &rect) = 0;
    virtual FolderList *addFolderList(const layout::Rect &rect) = 0;
    virtual FileList *addFileList(const layout::Rect &rect) = 0;

    virtual void setTabOrder(const std::vector<Control *> &controls) = 0;
    virtual void setAccessibleDescription(const std::string &text) = 0;
    virtual void setTitle(const std::string &title) = 0;
    virtual std::string title() const = 0;
    virtual layout::Rect outerRect() const = 0;
    virtual void moveOuter(int left, int top) = 0;
    virtual void showModal() = 0;
    virtual void showModeless() = 0;
    virtual bool visible() const = 0;
    virtual void hide() = 0;
    // Ends a modal display and hides the window, without a close request.
    virtual void dismiss() = 0;
    virtual std::uintptr_t nativeHandle() const = 0;
};

std::unique_ptr<WindowImpl> createWindow(Window &form, const WindowSetup &setup);

// Deletes the form (and with it its window) from the event loop.
void destroyLater(Window *form);

ScreenSize primaryScreen();
void setHourglass(bool shown);
bool hourglassShown();

// A copy begins or ends (see BusyScope); paint() lets the windows paint what
// is pending, taking no input.
void beginBusy();
void endBusy();
void paint();

bool showOpen(CommonDialog &dialog, Window &owner);

int run(int argc, char *argv[], const std::function<bool()> &start);

} // namespace ui::backend
