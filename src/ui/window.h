// The program's windows (forms), free of any toolkit: placement by outer
// sizes, modal and modeless display, closing and unloading, the lifetime of
// a form (created on first reference, destroyed once unloaded), the
// program-wide pointer, and the run of the program itself.
#pragma once

#include "controls.h"
#include "layout.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

namespace ui {

namespace backend {
class WindowImpl;
}

// What a window is, fixed at its creation.
enum class Frame {
    MainScreen,    // title bar with minimise and close, an entry in the task bar
    Dialog,        // title bar with close only, no task-bar entry
    DialogNoTitle  // a border without a title bar, no task-bar entry
};

struct WindowSetup {
    // The set of pictures the window draws from ("frmGames", "frmCD", ...):
    // its "background", and the pictures its controls name.
    std::string pictures;
    int width, height;  // of the client area, fixed
    Frame frame;
    std::string title;
};

// A fixed-size window drawn on its background picture, with its controls
// above it. Forms derive from it; each is created through form<F>().
class Window {
public:
    explicit Window(const WindowSetup &setup);
    virtual ~Window();
    Window(const Window &) = delete;
    Window &operator=(const Window &) = delete;

    // Pointer movement over the window's bare background (pictures are
    // window-less, so over them too): Form_MouseMove.
    Event onMouseMove;
    // The window's close command, a close request of the window system, or
    // close() from code. When set, it runs instead of the unload, and the
    // handler unloads the window when it should go. Unset, the window unloads.
    Event onClose;
    // Escape pressed in the window, whichever control has the focus. Unset,
    // Escape does nothing.
    Event onEscape;

    // Controls, stacked in the order created: the first lies lowest. The
    // window owns them. Until setTabOrder, Tab moves the focus through the
    // controls that take it (list, pane, text box, folder list, drive list)
    // in that order too; hot areas take it only once in the tab order.
    Picture *addPicture(const layout::Rect &rect, const std::string &name);
    HotArea *addHotArea(const layout::Rect &rect);
    Label *addLabel(const layout::Rect &rect, LabelStyle style);
    ListBox *addListBox(const layout::Rect &rect);
    TextPane *addTextPane(const layout::Rect &rect);
    TextBox *addTextBox(const layout::Rect &rect);
    // `fillRect` is where the fill picture lies inside the window.
    ProgressBar *addProgressBar(const layout::Rect &rect, const std::string &trough, const std::string &fill,
                                const layout::Rect &fillRect);
    DriveList *addDriveList(const layout::Rect &rect);
    FolderList *addFolderList(const layout::Rect &rect);
    FileList *addFileList(const layout::Rect &rect);

    // The cycle of Tab (Shift+Tab goes it backwards): after the last comes
    // the first. Controls left out take no focus from Tab. The window opens
    // with the focus where the form last put it by setFocus(), or nowhere
    // (the first Tab then focuses the first control of the cycle).
    void setTabOrder(std::initializer_list<Control *> controls);

    // What a screen reader reads as the window's description (the words of
    // a dialog's picture, or its message). The window's name is its title.
    void setAccessibleDescription(const std::string &text);

    // The title exactly as given.
    void setTitle(const std::string &title);
    std::string title() const;

    // The outer rectangle (frame and title bar included), also before the
    // window was first shown: the window system is then asked for the frame
    // it will give. moveOuter sets the left edge, then the top edge.
    layout::Rect outerRect() const;
    void moveOuter(int left, int top);

    // Modal display: a nested event loop, the program's other windows taking
    // no input, until the window is unloaded. Modeless display returns at
    // once.
    void showModal();
    void showModeless();
    bool visible() const;
    void hide();

    // As the window's close command (see onClose).
    void close();
    // Ends the modal display, hides the window and destroys it once control
    // is back in the event loop; the next form<F>() creates a new one.
    void unload();
    bool unloaded() const { return mUnloaded; }

    // The system's handle of the window, for the shell and the message box.
    std::uintptr_t nativeHandle() const;

    // Makes this window the one that dialogs reach as the main screen.
    void setMainScreen();

    // The implementation's side of the window; only ui's implementations use it.
    backend::WindowImpl &impl() const { return *mImpl; }
    // Called by the implementation when a close is requested.
    void closeRequested();

private:
    std::unique_ptr<backend::WindowImpl> mImpl;
    bool mUnloaded = false;
    Window **mSlot = nullptr;
    template <class F> friend F &form();
};

// The main screen while it is loaded, else null: how a dialog reaches it
// without including it.
Window *mainScreen();

// The primary screen's size, in pixels.
struct ScreenSize {
    int width, height;
};
ScreenSize primaryScreen();

// Centres a window on the primary screen, or over another window, by both
// outer sizes and the other's outer position; fractions are kept until the
// final position, nothing is clamped. Over another window the left edge is
// set before the top edge.
void centreOnScreen(Window &window);
void centreOver(Window &window, const Window &over);

// The program-wide pointer. It is set and cleared, not stacked: setting the
// hourglass twice and the default once leaves the default.
void setHourglass();
void setDefaultPointer();
bool hourglassShown();

// While a copy runs inside a click, on the user-interface thread: the
// windows keep painting (what changed, and what another window uncovered)
// but take no input. Pointer and key input made meanwhile is dropped, never
// delivered afterwards; a close request, or a window destroyed from outside,
// is acted on only once the copy has ended.
class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;
    // Call after each file: at most every 50 ms, lets the windows paint.
    void keepPainting();

private:
    long long mLastPaint = -1;  // steady-clock milliseconds
};

// Creates the toolkit's application, then calls `start` (the program's Main);
// when it returns true, runs the event loop until the program ends. Returns
// the program's exit status.
int run(int argc, char *argv[], const std::function<bool()> &start);

// The one instance of a form: created in its design state on the first
// reference, reused while loaded, created anew after it was unloaded.
template <class F> struct FormSlot {
    static inline Window *instance = nullptr;
};

template <class F> F &form()
{
    Window *&slot = FormSlot<F>::instance;
    if (!slot || slot->unloaded()) {
        F *created = new F;
        slot = created;
        created->mSlot = &slot;
    }
    return static_cast<F &>(*slot);
}

// The instance while one is loaded, without creating it; otherwise null.
template <class F> F *loadedForm()
{
    Window *slot = FormSlot<F>::instance;
    return slot && !slot->unloaded() ? static_cast<F *>(slot) : nullptr;
}

} // namespace ui
