// The Win32 windows behind the toolkit-free forms: one top-level window per
// form, which paints its background and its window-less controls (pictures,
// hot areas, labels, the progress bar) itself and hit-tests them, and holds
// the real child controls (list, panes, the classic file controls).
#pragma once

#include "platform/win_text.h"
#include "ui/backend.h"

#include <memory>
#include <string>
#include <vector>

namespace ui::win32 {

// UTF-16 for the W functions from the interface's UTF-8, and back. Invalid
// UTF-8 shows as replacement characters rather than not at all.
std::wstring wide(const std::string &utf8);
std::string utf8(const std::wstring &text);

HINSTANCE instance();

// The fonts of the layout, made once for each density: at `dpi` dots per
// inch, or the screen's when it is 0.
enum class Font {
    Pane,     // Arial 8.25 pt: the list, the panes, the classic controls
    Status,   // MS Sans Serif 8.25 pt bold: the main screen's status line
    Message,  // MS Sans Serif 12 pt bold: the information dialog's message
};
HFONT font(Font which, int dpi = 0);

inline constexpr COLORREF kGreen = RGB(0x00, 0xFF, 0x00);
// Black on this green reads as well as the green text on black does.
inline constexpr COLORREF kSelection = RGB(0x00, 0xC0, 0x00);
inline constexpr COLORREF kYellow = RGB(0xFF, 0xFF, 0x00);
HBRUSH blackBrush();

// A picture of a window's artwork from the executable's resources (resource
// name "FRMGAMES_IMGRUNLIGHT", "FRMGAMES_IMGRUNLIGHT_200" as drawn for 200 %),
// for a window of `percent` (100 at 96 dpi): the one drawn for that scale,
// or the next drawn scale above it reduced smoothly. Kept for the program's
// life; null when the executable has none, and the picture then stays blank.
HBITMAP picture(const std::string &form, const std::string &name, int percent = 100);
// The device-independent bitmap of a BITMAP resource, run-length encoded
// (BI_RLE8) or not, decoded here; null when there is none or it is damaged.
HBITMAP loadBitmapResource(const char *name);
SIZE bitmapSize(HBITMAP bitmap);
// Copies a part of a bitmap (its whole when w is negative) to a DC.
void drawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int w = -1, int h = -1, int srcX = 0, int srcY = 0);

bool hourglassOn();
// Lets the window under the pointer set its cursor again, after what decides
// the cursor (the hourglass, a hot area's cursor) changed.
void refreshCursor();

// Disables the program's other form windows, for a modal display; returns
// those it disabled, which enableAgain enables again.
std::vector<HWND> disableOthers(HWND except);
void enableAgain(const std::vector<HWND> &windows);

class FormWindow;
class HotArea;
class Accessible;

// Posted to a form by a screen reader's default action on one of its hot
// areas (wParam: the area's child number, from 1): the click runs from the
// event loop, not inside the reader's call.
inline constexpr UINT kAccessibleClick = WM_APP + 2;

// A form's answer to WM_GETOBJECT for its client area: an accessible object
// whose children are its hot areas, then its child controls, made on the
// first request (oleacc.dll is loaded then); 0 when it cannot be made.
LRESULT accessibleResult(FormWindow &form, Accessible *&object, WPARAM wParam);
// Cuts the object off from its form, which is going: a screen reader may
// still hold it, and then gets an error from each call.
void releaseAccessible(Accessible *&object);

// Hands a message of the event loop to its window: the form's own keys
// (Tab, Escape, Enter, Space and the arrows on a hot area) first, then Tab
// and the arrow keys among the child controls as in a dialog.
void dispatch(MSG &msg);

// A control that the form draws and hit-tests itself: it has no window.
class Windowless {
public:
    // What pointer input over it does: goes on to what lies beneath, ends
    // there (reaching no handler), or is the item's own.
    enum class Pointer { PassThrough, Absorb, Target };

    Windowless(FormWindow &form, const layout::Rect &rect, bool shown);
    virtual ~Windowless() = default;
    Windowless(const Windowless &) = delete;
    Windowless &operator=(const Windowless &) = delete;

    virtual void draw(HDC) const {}
    virtual Pointer pointer() const { return Pointer::PassThrough; }
    // Pointer input, for a Target: movement, a press and a release of a
    // mouse button (0 left, 1 right, 2 middle, 3 and 4 the extra buttons).
    virtual void mouseMove() {}
    virtual void mouseDown(int /*button*/, bool /*doubleClick*/) {}
    virtual void mouseUp(int /*button*/, bool /*inside*/) {}
    virtual HCURSOR cursor() const;
    // Whether its paints go to the test's paint log (see QUORVIA_TEST_PAINT_LOG).
    virtual bool logsPaint() const { return false; }

    bool shown() const { return mShown; }
    void setShown(bool shown);
    const RECT &rect() const { return mRect; }
    bool contains(POINT p) const { return PtInRect(&mRect, p) != 0; }
    const std::string &itemName() const { return mName; }

protected:
    // Repaints the item's rectangle when the windows next paint, if shown.
    void invalidate() const;
    FormWindow &mForm;
    RECT mRect;
    bool mShown;
    std::string mName;
};

template <class I> class WindowlessOf : public I, public Windowless {
public:
    using Windowless::Windowless;
    void show() override { setShown(true); }
    void hide() override { setShown(false); }
    bool visible() const override { return shown(); }
    void setName(const std::string &name) override { mName = name; }
};

// A real child control of a form, subclassed so that the library sees its
// messages first (pointer movement, keys, the dialog codes).
class Child {
public:
    Child(FormWindow &form, const wchar_t *windowClass, DWORD style, const layout::Rect &rect, int extraHeight = 0);
    virtual ~Child();
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    HWND hwnd() const { return mHwnd; }
    // Places the control and sets its font for the form's density now.
    void rescale();
    // A notification of WM_COMMAND (LBN_SELCHANGE, CBN_SELCHANGE, ...).
    virtual void command(int) {}
    // The control received the keyboard focus from elsewhere in its window.
    virtual void focused() {}
    // An owner-drawn entry.
    virtual void drawItem(const DRAWITEMSTRUCT &) {}
    // The child of a form's child window, or null.
    static Child *of(HWND hwnd);

protected:
    // The subclass procedure's body: the default hands pointer movement to
    // movement() and everything to the control's own procedure.
    virtual LRESULT message(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void movement() {}
    LRESULT callOriginal(UINT msg, WPARAM wParam, LPARAM lParam);
    // Takes the keyboard focus when the form is active; else the form gives
    // it to this control when it is next activated.
    void takeFocus();

    FormWindow &mForm;
    HWND mHwnd = nullptr;
    std::string mName;
    layout::Rect mLayoutRect;  // its place in the layout, its extra height included
    int mExtraHeight = 0;      // a drop-down list's, below its closed box

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    WNDPROC mOriginal = nullptr;
};

template <class I> class ChildOf : public I, public Child {
public:
    using Child::Child;
    void show() override { ShowWindow(mHwnd, SW_SHOWNA); }
    void hide() override { ShowWindow(mHwnd, SW_HIDE); }
    // By its own flag: a child of a window not yet shown is visible once shown.
    bool visible() const override { return (GetWindowLongW(mHwnd, GWL_STYLE) & WS_VISIBLE) != 0; }
    void setName(const std::string &name) override { mName = name; }
    void focused() override
    {
        if constexpr (requires(I &i) { i.onFocus(); })
            if (this->onFocus)
                this->onFocus();
    }
};

struct ModalLoop;

class FormWindow : public backend::WindowImpl {
public:
    FormWindow(ui::Window &form, const WindowSetup &setup);
    ~FormWindow() override;

    ui::Picture *addPicture(const layout::Rect &rect, const std::string &name) override;
    ui::HotArea *addHotArea(const layout::Rect &rect) override;
    ui::Label *addLabel(const layout::Rect &rect, ui::LabelStyle style) override;
    ui::ListBox *addListBox(const layout::Rect &rect) override;
    ui::TextPane *addTextPane(const layout::Rect &rect) override;
    ui::TextBox *addTextBox(const layout::Rect &rect) override;
    ui::ProgressBar *addProgressBar(const layout::Rect &rect, const std::string &trough, const std::string &fill,
                                    const layout::Rect &fillRect) override;
    ui::DriveList *addDriveList(const layout::Rect &rect) override;
    ui::FolderList *addFolderList(const layout::Rect &rect) override;
    ui::FileList *addFileList(const layout::Rect &rect) override;

    void setTabOrder(const std::vector<Control *> &controls) override { mTabOrder = controls; }
    void setAccessibleDescription(const std::string &text) override { mDescription = text; }
    void setTitle(const std::string &title) override;
    std::string title() const override { return mTitle; }
    layout::Rect outerRect() const override;
    void moveOuter(int left, int top) override;
    void showModal() override;
    void showModeless() override;
    bool visible() const override;
    void hide() override;
    void dismiss() override;
    std::uintptr_t nativeHandle() const override { return reinterpret_cast<std::uintptr_t>(mHwnd); }

    HWND hwnd() const { return mHwnd; }
    ui::Window &form() const { return mForm; }
    // The window's density: its dots per inch, and its scale in hundredths
    // (100 at 96 dpi, 200 at 192). The layout stays in its own pixels; these
    // turn its rectangles into the window's device pixels (left and top
    // rounded down, right and bottom up) and a device point back.
    int dpi() const { return mDpi; }
    int percent() const { return mPercent; }
    RECT toDevice(const RECT &layoutRect) const;
    POINT toLayout(POINT device) const;
    const std::string &pictures() const { return mPictures; }
    int nextControlId() { return mNextId++; }
    // The child that gets the keyboard focus when the window is activated.
    void setFocusChild(HWND child);

    // The keyboard focus among the hot areas, which have no window: while
    // one has it, the system's focus is on the form's own window.
    void focusHotArea(HotArea &area);
    HotArea *focusedArea() const { return mFocusArea; }
    void childFocused(Child &child);
    // A key of the event loop for this window or one of its children, taken
    // before the dialog navigation; true when it was the form's.
    bool takeKey(const MSG &msg);
    // What screen readers are told (see accessible.cpp).
    const std::string &accessibleDescription() const { return mDescription; }
    std::vector<HotArea *> hotAreas() const;
    std::vector<HWND> childWindows() const;
    // The form window of a top-level window of the program, or null.
    static FormWindow *of(HWND hwnd);
    // True while some loaded form's window is shown.
    static bool anyShown();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
    void paint(HDC dc, const RECT &area);
    // The topmost shown item under the point that takes pointer input; null
    // for the bare background, and `absorbed` set when an item ends it there.
    Windowless *itemAt(POINT p, bool &absorbed) const;
    void mouseMove(POINT p);
    void mouseDown(POINT p, int button, bool doubleClick);
    void mouseUp(POINT p, int button, WPARAM held);
    HCURSOR cursorAt(POINT p) const;
    void activated(bool active);
    // Takes a new density: the outer size for the client area at it (placed
    // at `suggested` when the system gives one), the children, the icons.
    void applyDpi(int dpi, const RECT *suggested);
    // Tab and Shift+Tab: the next control of the cycle that can take the focus.
    void tab(bool backwards);
    Control *focusedControl() const;
    LRESULT accessibleObject(WPARAM wParam);
    template <class T> T *own(std::unique_ptr<T> item);
    template <class T> T *ownChild(std::unique_ptr<T> child);

    ui::Window &mForm;
    std::string mPictures;
    std::string mTitle;
    HWND mHwnd = nullptr;
    HBITMAP mBackground = nullptr;
    HBITMAP mBuffer = nullptr;  // the off-screen picture each paint is drawn into
    int mWidth, mHeight;  // of the client area in the layout
    DWORD mStyle = 0, mExStyle = 0;
    int mDpi = 96, mPercent = 100;
    std::vector<std::unique_ptr<Windowless>> mItems;  // in stacking order, lowest first
    std::vector<std::unique_ptr<Child>> mChildren;
    HWND mFocus = nullptr;
    int mNextId = 100;  // child ids clear of IDOK and IDCANCEL
    ModalLoop *mModal = nullptr;

    std::vector<Control *> mTabOrder;
    HotArea *mFocusArea = nullptr;
    HotArea *mSpaceArea = nullptr;  // where Space went down: its release there is the click
    HWND mFocusedChild = nullptr;   // the child that last had the focus in this window
    std::string mDescription;
    Accessible *mAccessible = nullptr;

    // The pointer's press: what gets its movement and its release.
    enum class Grab { None, Background, Nothing, Item };
    Grab mGrab = Grab::None;
    Windowless *mGrabbed = nullptr;
    Windowless *mLastPressed = nullptr;  // a double-click counts only on the item of its first press
};

} // namespace ui::win32
