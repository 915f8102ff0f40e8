#include "win32.h"

#include "widgets.h"

#include "assets/scales.h"
#include "platform/shell.h"
#include "platform/win_load.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace ui::win32 {

namespace {

constexpr const wchar_t *kFormClass = L"QuorviaForm";
constexpr const wchar_t *kOwnerClass = L"QuorviaOwner";
// Posted to the owner window so that a waiting loop wakes up and deletes
// the forms unloaded meanwhile.
constexpr UINT kWake = WM_APP + 1;

// A form unloaded, and the depth of the event loop it was unloaded in: it is
// deleted by that loop or an outer one, never by a modal loop started after
// it (whose caller may still use it).
struct PendingDelete {
    ui::Window *form;
    int depth;
};

struct Program {
    HWND owner = nullptr;
    int loopDepth = 0;
    int busy = 0;
    bool hourglass = false;
    std::vector<PendingDelete> pending;
    std::vector<HWND> deferredCloses;  // close requests held back while a copy runs
    std::vector<FormWindow *> windows;
};

Program &program()
{
    static Program instance;
    return instance;
}

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void registerClasses()
{
    static const bool done = [] {
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.style = CS_DBLCLKS;
        form.lpfnWndProc = DefWindowProcW;  // replaced per form (see FormWindow)
        form.hInstance = instance();
        form.hIcon = LoadIconA(instance(), MAKEINTRESOURCEA(1));
        form.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        form.lpszClassName = kFormClass;
        RegisterClassExW(&form);
        WNDCLASSEXW owner{};
        owner.cbSize = sizeof owner;
        owner.lpfnWndProc = ownerProc;
        owner.hInstance = instance();
        owner.hIcon = form.hIcon;
        owner.lpszClassName = kOwnerClass;
        RegisterClassExW(&owner);
        return true;
    }();
    (void)done;
}

// The hidden top-level window that owns every dialog: owned windows get no
// task-bar button, and since it is not the main screen, the main screen can
// still come to the front over a dialog that stays open beside it.
HWND owner()
{
    Program &p = program();
    if (!p.owner) {
        registerClasses();
        p.owner = CreateWindowExW(0, kOwnerClass, L"Quorvia", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                  instance(), nullptr);
    }
    return p.owner;
}

bool isInput(UINT msg)
{
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
           || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) || (msg >= WM_NCXBUTTONDOWN && msg <= WM_NCXBUTTONDBLCLK)
           || msg == WM_MOUSEHOVER || msg == WM_MOUSELEAVE || msg == WM_NCMOUSEHOVER || msg == WM_NCMOUSELEAVE
           || msg == WM_CONTEXTMENU || msg == WM_INPUT;
}

void deletePending()
{
    Program &p = program();
    std::vector<ui::Window *> due;
    for (auto it = p.pending.begin(); it != p.pending.end();) {
        if (it->depth >= p.loopDepth) {
            due.push_back(it->form);
            it = p.pending.erase(it);
        } else {
            ++it;
        }
    }
    for (ui::Window *form : due)
        delete form;
}

// Runs the event loop until `done` says so or the program's end was asked
// for (the quit message is then left for the outer loops).
template <class Done> int runLoop(Done done)
{
    MSG msg{};
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            if (program().loopDepth > 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            return static_cast<int>(msg.wParam);
        }
        if (got < 0)
            return 1;
        dispatch(msg);
        deletePending();
    }
    return 0;
}

// Lets the windows paint what is pending; input that arrived meanwhile is
// dropped.
void paintPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (isInput(msg.message))
            continue;
        DispatchMessageW(&msg);
    }
}

} // namespace

void dispatch(MSG &msg)
{
    if (msg.hwnd) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (FormWindow *form = root ? FormWindow::of(root) : nullptr) {
            if (form->takeKey(msg) || IsDialogMessageW(root, &msg))
                return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

std::vector<HWND> disableOthers(HWND except)
{
    std::vector<HWND> disabled;
    for (FormWindow *w : program().windows) {
        HWND h = w->hwnd();
        if (h != except && IsWindowEnabled(h)) {
            EnableWindow(h, FALSE);
            disabled.push_back(h);
        }
    }
    return disabled;
}

void enableAgain(const std::vector<HWND> &windows)
{
    for (HWND h : windows)
        if (IsWindow(h))
            EnableWindow(h, TRUE);
}

namespace {

// The wall-clock time in microseconds since 1970.
long long wallClockMicroseconds()
{
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const unsigned long long ticks = (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<long long>((ticks - 116444736000000000ULL) / 10);
}

} // namespace

struct ModalLoop {
    bool done = false;
    bool finished = false;
    std::vector<HWND> disabled;
    HWND previousActive = nullptr;

    // The other windows take input again; called before the window hides,
    // so that the activation goes back to one of them.
    void finish()
    {
        if (finished)
            return;
        finished = true;
        enableAgain(disabled);
    }
};

bool hourglassOn()
{
    return program().hourglass;
}

void refreshCursor()
{
    POINT p;
    if (!GetCursorPos(&p))
        return;
    HWND h = WindowFromPoint(p);
    if (!h || GetWindowThreadProcessId(h, nullptr) != GetCurrentThreadId())
        return;
    const LRESULT hit = SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(hit, WM_MOUSEMOVE));
}

// ---------------------------------------------------------------------------
// A form's window

namespace {

struct FrameStyle {
    DWORD style, exStyle;
};

// The density functions of Windows 10 (1607 and later), loaded on first
// use; before them a window has the screen's density.
int dpiOfWindow(HWND hwnd)
{
    using GetDpiForWindowFn = UINT WINAPI(HWND);
    static GetDpiForWindowFn *const getDpi =
        platform::win::systemFunction<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
    const UINT dpi = getDpi && hwnd ? getDpi(hwnd) : 0;
    if (dpi)
        return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int fromScreen = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return fromScreen > 0 ? fromScreen : 96;
}

// The outer rectangle of a client rectangle with the frame of `dpi`.
void adjustForDpi(RECT &r, DWORD style, DWORD exStyle, int dpi)
{
    using AdjustFn = BOOL WINAPI(LPRECT, DWORD, BOOL, DWORD, UINT);
    static AdjustFn *const adjust = platform::win::systemFunction<AdjustFn>("user32.dll", "AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
}

FrameStyle frameStyle(Frame frame)
{
    switch (frame) {
    case Frame::MainScreen:
        // A fixed single border, minimise and close, a task-bar button.
        return {WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, WS_EX_APPWINDOW};
    case Frame::Dialog:
        // A title bar without a control box.
        return {WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};
    case Frame::DialogNoTitle:
        return {WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME};
    }
    return {WS_POPUP, 0};
}

} // namespace

FormWindow::FormWindow(ui::Window &form, const WindowSetup &setup)
    : mForm(form), mPictures(setup.pictures), mTitle(setup.title), mWidth(setup.width), mHeight(setup.height)
{
    registerClasses();
    const FrameStyle frame = frameStyle(setup.frame);
    mStyle = frame.style;
    mExStyle = frame.exStyle;
    HWND parent = setup.frame == Frame::MainScreen ? nullptr : owner();
    mHwnd = CreateWindowExW(frame.exStyle, kFormClass, wide(setup.title).c_str(), frame.style, 0, 0,
                            setup.width, setup.height, parent, nullptr, instance(), nullptr);
    SetWindowLongPtrW(mHwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(mHwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormWindow::windowProc));
    // The client area in the device pixels of the monitor the window is on.
    applyDpi(dpiOfWindow(mHwnd), nullptr);
    program().windows.push_back(this);
}

FormWindow::~FormWindow()
{
    Program &p = program();
    p.windows.erase(std::remove(p.windows.begin(), p.windows.end(), this), p.windows.end());
    if (mModal) {
        mModal->finish();
        mModal->done = true;
    }
    releaseAccessible(mAccessible);
    if (mHwnd) {
        SetWindowLongPtrW(mHwnd, GWLP_USERDATA, 0);
        DestroyWindow(mHwnd);
    }
    if (mBuffer)
        DeleteObject(mBuffer);
}

FormWindow *FormWindow::of(HWND hwnd)
{
    wchar_t name[32];
    if (!GetClassNameW(hwnd, name, 32) || lstrcmpW(name, kFormClass) != 0)
        return nullptr;
    return reinterpret_cast<FormWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool FormWindow::anyShown()
{
    for (FormWindow *w : program().windows)
        if (!w->mForm.unloaded() && IsWindowVisible(w->mHwnd))
            return true;
    return false;
}

template <class T> T *FormWindow::own(std::unique_ptr<T> item)
{
    T *raw = item.get();
    mItems.push_back(std::move(item));
    return raw;
}

template <class T> T *FormWindow::ownChild(std::unique_ptr<T> child)
{
    T *raw = child.get();
    mChildren.push_back(std::move(child));
    return raw;
}

ui::Picture *FormWindow::addPicture(const layout::Rect &rect, const std::string &name)
{
    return own(std::make_unique<Picture>(*this, rect, name));
}

ui::HotArea *FormWindow::addHotArea(const layout::Rect &rect) { return own(std::make_unique<HotArea>(*this, rect)); }

ui::Label *FormWindow::addLabel(const layout::Rect &rect, ui::LabelStyle style)
{
    return own(std::make_unique<Label>(*this, rect, style));
}

ui::ProgressBar *FormWindow::addProgressBar(const layout::Rect &rect, const std::string &trough,
                                            const std::string &fill, const layout::Rect &fillRect)
{
    return own(std::make_unique<ProgressBar>(*this, rect, trough, fill, POINT{fillRect.x - rect.x, fillRect.y - rect.y}));
}

ui::ListBox *FormWindow::addListBox(const layout::Rect &rect) { return ownChild(std::make_unique<ListBox>(*this, rect)); }
ui::TextPane *FormWindow::addTextPane(const layout::Rect &rect) { return ownChild(std::make_unique<TextPane>(*this, rect)); }
ui::TextBox *FormWindow::addTextBox(const layout::Rect &rect) { return ownChild(std::make_unique<TextBox>(*this, rect)); }
ui::DriveList *FormWindow::addDriveList(const layout::Rect &rect) { return ownChild(std::make_unique<DriveList>(*this, rect)); }
ui::FolderList *FormWindow::addFolderList(const layout::Rect &rect) { return ownChild(std::make_unique<FolderList>(*this, rect)); }
ui::FileList *FormWindow::addFileList(const layout::Rect &rect) { return ownChild(std::make_unique<FileList>(*this, rect)); }

void FormWindow::setFocusChild(HWND child)
{
    if (HotArea *area = std::exchange(mFocusArea, nullptr))
        area->repaint();
    mFocus = child;
    if (GetActiveWindow() == mHwnd)
        SetFocus(child);
}

// ---------------------------------------------------------------------------
// The keyboard

std::vector<HotArea *> FormWindow::hotAreas() const
{
    std::vector<HotArea *> areas;
    for (const auto &item : mItems)
        if (auto *area = dynamic_cast<HotArea *>(item.get()))
            areas.push_back(area);
    return areas;
}

std::vector<HWND> FormWindow::childWindows() const
{
    std::vector<HWND> windows;
    for (const auto &child : mChildren)
        if (child->hwnd())
            windows.push_back(child->hwnd());
    return windows;
}

void FormWindow::focusHotArea(HotArea &area)
{
    // A hidden button (the information dialog's OK before it shows) takes none.
    if (!area.shown())
        return;
    HotArea *old = std::exchange(mFocusArea, &area);
    mFocus = nullptr;
    mFocusedChild = nullptr;
    if (old && old != &area)
        old->repaint();
    area.repaint();
    if (GetActiveWindow() == mHwnd && GetFocus() != mHwnd)
        SetFocus(mHwnd);
    if (old != &area && area.onFocus)
        area.onFocus();
}

void FormWindow::childFocused(Child &child)
{
    if (HotArea *area = std::exchange(mFocusArea, nullptr))
        area->repaint();
    mFocus = child.hwnd();
    // The focus coming back with the window's activation is no new focus.
    if (std::exchange(mFocusedChild, child.hwnd()) != child.hwnd())
        child.focused();
}

Control *FormWindow::focusedControl() const
{
    HWND focus = GetFocus();
    if (!focus || !IsChild(mHwnd, focus))
        focus = mFocus;
    if (focus) {
        for (const auto &child : mChildren)
            if (child->hwnd() && (child->hwnd() == focus || IsChild(child->hwnd(), focus)))
                return dynamic_cast<Control *>(child.get());
    }
    return mFocusArea ? static_cast<ui::HotArea *>(mFocusArea) : nullptr;
}

void FormWindow::tab(bool backwards)
{
    const int n = static_cast<int>(mTabOrder.size());
    const auto found = std::find(mTabOrder.begin(), mTabOrder.end(), focusedControl());
    const int at = found == mTabOrder.end() ? -1 : static_cast<int>(found - mTabOrder.begin());
    for (int step = 1; step <= n; ++step) {
        // From nothing, the first Tab goes to the first control, Shift+Tab to the last.
        const int i = at < 0 ? (backwards ? n - step : step - 1) : ((at + (backwards ? -step : step)) % n + n) % n;
        Control *control = mTabOrder[static_cast<std::size_t>(i)];
        if (auto *area = dynamic_cast<HotArea *>(control)) {
            if (area->shown()) {
                focusHotArea(*area);
                return;
            }
        } else if (auto *child = dynamic_cast<Child *>(control)) {
            HWND h = child->hwnd();
            if (h && IsWindowVisible(h) && IsWindowEnabled(h)) {
                // A one-line box is entered with its text selected, as in a dialog.
                if (!(GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE)
                    && (SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
                    SendMessageW(h, EM_SETSEL, 0, -1);
                setFocusChild(h);
                return;
            }
        }
    }
}

namespace {

bool droppedDown(HWND hwnd)
{
    wchar_t name[16];
    return GetClassNameW(hwnd, name, 16) && lstrcmpiW(name, L"ComboBox") == 0
           && SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0);
}

bool held(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

} // namespace

bool FormWindow::takeKey(const MSG &msg)
{
    const UINT m = msg.message;
    if (m != WM_KEYDOWN && m != WM_KEYUP && m != WM_CHAR)
        return false;
    // An open drive list keeps Escape, Enter and Tab to close itself.
    if (msg.hwnd != mHwnd && droppedDown(msg.hwnd))
        return false;
    const bool down = m == WM_KEYDOWN;
    const bool repeat = down && (msg.lParam & (1L << 30)) != 0;  // the key's auto-repeat
    const WPARAM key = msg.wParam;
    if (down && key == VK_ESCAPE) {
        // Caught here for every control: a multi-line edit would take it for
        // a close request of its window.
        if (!repeat && mForm.onEscape)
            mForm.onEscape();
        return true;
    }
    if (down && key == VK_TAB && !mTabOrder.empty() && !held(VK_CONTROL) && !held(VK_MENU)) {
        tab(held(VK_SHIFT));
        return true;
    }
    // The child controls keep their own keys; the rest are the form's own.
    if (msg.hwnd != mHwnd)
        return false;
    HotArea *area = mFocusArea && mFocusArea->shown() ? mFocusArea : nullptr;
    if (m == WM_CHAR)
        return true;
    switch (key) {
    case VK_RETURN:
        if (down && !repeat && area)
            area->keyClick();
        return true;
    case VK_SPACE:
        // The click comes as the key is released, over the button it went down on.
        if (down) {
            if (!repeat)
                mSpaceArea = area;
        } else if (std::exchange(mSpaceArea, nullptr) == area && area) {
            area->keyClick();
        }
        return true;
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT:
        if (down && area)
            area->arrow(key == VK_UP ? Arrow::Up : key == VK_DOWN ? Arrow::Down : key == VK_LEFT ? Arrow::Left : Arrow::Right);
        return true;
    default:
        // Without a cycle of its own the window keeps the dialog's Tab.
        return !(key == VK_TAB && mTabOrder.empty());
    }
}

void FormWindow::setTitle(const std::string &title)
{
    mTitle = title;
    SetWindowTextW(mHwnd, wide(title).c_str());
}

layout::Rect FormWindow::outerRect() const
{
    RECT r;
    GetWindowRect(mHwnd, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void FormWindow::moveOuter(int left, int top)
{
    SetWindowPos(mHwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::showModeless()
{
    ShowWindow(mHwnd, SW_SHOW);
    SetForegroundWindow(mHwnd);
    UpdateWindow(mHwnd);
}

void FormWindow::showModal()
{
    ModalLoop loop;
    loop.previousActive = GetActiveWindow();
    loop.disabled = disableOthers(mHwnd);
    EnableWindow(mHwnd, TRUE);
    mModal = &loop;
    showModeless();
    Program &p = program();
    ++p.loopDepth;
    runLoop([&loop] { return loop.done; });
    --p.loopDepth;
    // The window may be gone by now (deleted by its own loop once unloaded).
    loop.finish();
    if (!loop.done)
        mModal = nullptr;
}

bool FormWindow::visible() const
{
    return IsWindowVisible(mHwnd) != 0;
}

void FormWindow::hide()
{
    ShowWindow(mHwnd, SW_HIDE);
}

void FormWindow::dismiss()
{
    HWND previous = nullptr;
    if (ModalLoop *loop = std::exchange(mModal, nullptr)) {
        loop->finish();
        loop->done = true;
        previous = loop->previousActive;
    }
    // When this is the active window, the one it came from (or another shown
    // window of the program) is activated before this one hides: hiding the
    // active window first leaves the choice to the system, and the keyboard
    // may end up nowhere. A window shown meanwhile keeps the activation.
    if (GetActiveWindow() == mHwnd) {
        const auto takes = [this](HWND h) {
            return h && h != mHwnd && IsWindow(h) && IsWindowVisible(h) && IsWindowEnabled(h);
        };
        HWND next = takes(previous) ? previous : nullptr;
        for (FormWindow *w : program().windows)
            if (!next && takes(w->mHwnd))
                next = w->mHwnd;
        if (next)
            SetActiveWindow(next);
    }
    ShowWindow(mHwnd, SW_HIDE);
    // As the toolkit has it: the last window closing ends the program.
    if (!anyShown())
        PostQuitMessage(0);
}

// ---------------------------------------------------------------------------
// Density

RECT FormWindow::toDevice(const RECT &r) const
{
    using scales::ceilScaled, scales::floorScaled;
    return {floorScaled(r.left, mPercent), floorScaled(r.top, mPercent), ceilScaled(r.right, mPercent),
            ceilScaled(r.bottom, mPercent)};
}

POINT FormWindow::toLayout(POINT p) const
{
    // The layout's pixel that holds the device pixel (rounded down, also
    // left of and above the client area).
    auto down = [this](LONG v) { return static_cast<LONG>((v * 100 - (v < 0 ? mPercent - 1 : 0)) / mPercent); };
    return {down(p.x), down(p.y)};
}

void FormWindow::applyDpi(int dpi, const RECT *suggested)
{
    mDpi = dpi > 0 ? dpi : 96;
    mPercent = std::max(1, (mDpi * 100 + 48) / 96);
    mBackground = picture(mPictures, "background", mPercent);
    if (mBuffer) {
        DeleteObject(mBuffer);
        mBuffer = nullptr;
    }
    // The outer size for the client area at this density; should the frame
    // differ from what was asked for, the client area still gets exactly
    // its size.
    const int width = scales::ceilScaled(mWidth, mPercent), height = scales::ceilScaled(mHeight, mPercent);
    RECT outer{0, 0, width, height};
    adjustForDpi(outer, mStyle, mExStyle, mDpi);
    RECT window;
    GetWindowRect(mHwnd, &window);
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{window.left, window.top};
    SetWindowPos(mHwnd, nullptr, at.x, at.y, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(mHwnd, &client);
    if (client.right != width || client.bottom != height) {
        GetWindowRect(mHwnd, &window);
        SetWindowPos(mHwnd, nullptr, 0, 0, window.right - window.left + width - client.right,
                     window.bottom - window.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const auto &child : mChildren)
        child->rescale();
    // The icons drawn for the density: the big one as drawn, the small one
    // reduced from it by the system.
    const char *icon = mPercent <= 100 ? MAKEINTRESOURCEA(1) : mPercent <= 150 ? "ICON_150" : "ICON_200";
    if (HANDLE big = LoadImageA(instance(), icon, IMAGE_ICON, 0, 0, 0))
        SendMessageW(mHwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    const int small = scales::ceilScaled(16, mPercent);
    if (HANDLE little = LoadImageA(instance(), icon, IMAGE_ICON, small, small, 0))
        SendMessageW(mHwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little));
    InvalidateRect(mHwnd, nullptr, FALSE);
}

// ---------------------------------------------------------------------------
// Painting and the pointer

void FormWindow::paint(HDC dc, const RECT &area)
{
    // Everything in the window's device pixels; the items place themselves
    // through toDevice.
    const int width = scales::ceilScaled(mWidth, mPercent), height = scales::ceilScaled(mHeight, mPercent);
    if (!mBuffer)
        mBuffer = CreateCompatibleBitmap(dc, width, height);
    HDC buffer = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(buffer, mBuffer);
    IntersectClipRect(buffer, area.left, area.top, area.right, area.bottom);

    RECT all{0, 0, width, height};
    FillRect(buffer, &all, blackBrush());
    if (mBackground) {
        drawBitmap(buffer, mBackground, 0, 0);
        // A picture shorter than the client area (the notice's is one row
        // short) goes on downwards in its bottom row's colours.
        const SIZE size = bitmapSize(mBackground);
        if (size.cy < height) {
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ oldSource = SelectObject(source, mBackground);
            StretchBlt(buffer, 0, size.cy, size.cx, height - size.cy, source, 0, size.cy - 1, size.cx, 1, SRCCOPY);
            SelectObject(source, oldSource);
            DeleteDC(source);
        }
    }
    RECT overlap;
    for (const auto &item : mItems) {
        const RECT device = toDevice(item->rect());
        if (item->shown() && IntersectRect(&overlap, &device, &area))
            item->draw(buffer);
    }
    // The focus rectangle lies above the pictures, inside the hot area.
    if (mFocusArea && mFocusArea->shown()) {
        const RECT focus = toDevice(mFocusArea->rect());
        DrawFocusRect(buffer, &focus);
    }

    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, buffer, area.left, area.top,
           SRCCOPY);
    SelectObject(buffer, old);
    DeleteDC(buffer);
}

Windowless *FormWindow::itemAt(POINT p, bool &absorbed) const
{
    absorbed = false;
    for (auto it = mItems.rbegin(); it != mItems.rend(); ++it) {
        Windowless &item = **it;
        if (!item.shown() || !item.contains(p))
            continue;
        switch (item.pointer()) {
        case Windowless::Pointer::Target:
            return &item;
        case Windowless::Pointer::Absorb:
            absorbed = true;
            return nullptr;
        case Windowless::Pointer::PassThrough:
            break;
        }
    }
    return nullptr;
}

void FormWindow::mouseMove(POINT p)
{
    bool absorbed = false;
    Windowless *target = nullptr;
    switch (mGrab) {
    case Grab::Item:
        target = mGrabbed;
        break;
    case Grab::Nothing:
        return;
    case Grab::Background:
        break;
    case Grab::None:
        target = itemAt(p, absorbed);
        if (absorbed)
            return;
        break;
    }
    if (target)
        target->mouseMove();
    else if (mForm.onMouseMove)
        mForm.onMouseMove();
}

void FormWindow::mouseDown(POINT p, int button, bool doubleClick)
{
    bool absorbed = false;
    Windowless *target = mGrab == Grab::Item ? mGrabbed : itemAt(p, absorbed);
    if (mGrab == Grab::None) {
        mGrab = target ? Grab::Item : absorbed ? Grab::Nothing : Grab::Background;
        mGrabbed = target;
        SetCapture(mHwnd);
    }
    // The second press of a double-click on another item than the first
    // press is an ordinary press there.
    const bool secondOfDouble = doubleClick && target == mLastPressed;
    mLastPressed = target;
    if (target)
        target->mouseDown(button, secondOfDouble);
}

void FormWindow::mouseUp(POINT p, int button, WPARAM held)
{
    Windowless *target = mGrab == Grab::Item ? mGrabbed : nullptr;
    if (mGrab == Grab::None) {
        bool absorbed = false;
        target = itemAt(p, absorbed);
    }
    // The press ends before the handlers run: a click may open a modal window.
    if (!(held & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2))) {
        mGrab = Grab::None;
        mGrabbed = nullptr;
        if (GetCapture() == mHwnd)
            ReleaseCapture();
    }
    if (target)
        target->mouseUp(button, target->contains(p));
}

HCURSOR FormWindow::cursorAt(POINT p) const
{
    bool absorbed = false;
    const Windowless *target = mGrab == Grab::Item ? mGrabbed : itemAt(p, absorbed);
    if (target)
        return target->cursor();
    return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
}

void FormWindow::activated(bool active)
{
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(mHwnd, focus))
            mFocus = focus;
        return;
    }
    // The focus goes back where it was: a child, or a hot area or nothing on
    // the form's own window. A window without a cycle of its own opens in the
    // first control that takes it.
    HWND focus = mFocus;
    if (!focus || !IsWindow(focus) || !IsWindowVisible(focus) || !IsWindowEnabled(focus))
        focus = mFocusArea || !mTabOrder.empty() ? nullptr : GetNextDlgTabItem(mHwnd, nullptr, FALSE);
    if (GetFocus() != (focus ? focus : mHwnd))
        SetFocus(focus ? focus : mHwnd);
}

namespace {

POINT pointOf(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

int xButton(WPARAM wParam)
{
    return HIWORD(wParam) == XBUTTON1 ? 3 : 4;
}

// Appends a picture's name and the wall-clock time to the file that
// QUORVIA_TEST_PAINT_LOG names, for the tests that time how soon the program
// answers the pointer.
void logPaint(const std::string &name)
{
    static const std::string log = [] {
        const char *value = std::getenv("QUORVIA_TEST_PAINT_LOG");
        std::string path = value ? value : "";
        // Under Wine the tests give the host's path; its Z: drive is the root.
        if (!path.empty() && path[0] == '/')
            path = "Z:" + path;
        return path;
    }();
    if (log.empty() || name.empty())
        return;
    const auto ansi = platform::win::ansiPath(log);
    if (!ansi)
        return;
    if (FILE *file = std::fopen(ansi->c_str(), "ab")) {
        std::fprintf(file, "%s %lld\n", name.c_str(), wallClockMicroseconds());
        std::fclose(file);
    }
}

} // namespace

LRESULT CALLBACK FormWindow::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto *self = reinterpret_cast<FormWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        self->mHwnd = nullptr;
    return self->handle(msg, wParam, lParam);
}

LRESULT FormWindow::accessibleObject(WPARAM wParam)
{
    return accessibleResult(*this, mAccessible, wParam);
}

LRESULT FormWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // everything is painted in WM_PAINT, from one off-screen picture
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(mHwnd, &ps);
        paint(dc, ps.rcPaint);
        EndPaint(mHwnd, &ps);
        for (const auto &item : mItems) {
            RECT overlap;
            const RECT device = toDevice(item->rect());
            if (item->shown() && item->logsPaint() && IntersectRect(&overlap, &device, &ps.rcPaint))
                logPaint(item->itemName());
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        mouseMove(toLayout(pointOf(lParam)));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        mouseDown(toLayout(pointOf(lParam)), 0, msg == WM_LBUTTONDBLCLK);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        mouseDown(toLayout(pointOf(lParam)), 1, msg == WM_RBUTTONDBLCLK);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        mouseDown(toLayout(pointOf(lParam)), 2, msg == WM_MBUTTONDBLCLK);
        return 0;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
        mouseDown(toLayout(pointOf(lParam)), xButton(wParam), msg == WM_XBUTTONDBLCLK);
        return TRUE;
    case WM_LBUTTONUP:
        mouseUp(toLayout(pointOf(lParam)), 0, wParam);
        return 0;
    case WM_RBUTTONUP:
        mouseUp(toLayout(pointOf(lParam)), 1, wParam);
        return 0;
    case WM_MBUTTONUP:
        mouseUp(toLayout(pointOf(lParam)), 2, wParam);
        return 0;
    case WM_XBUTTONUP:
        mouseUp(toLayout(pointOf(lParam)), xButton(wParam), wParam);
        return TRUE;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != mHwnd) {
            mGrab = Grab::None;
            mGrabbed = nullptr;
        }
        return 0;
    case WM_SETCURSOR:
        if (hourglassOn()) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
            return TRUE;
        }
        if (reinterpret_cast<HWND>(wParam) == mHwnd && LOWORD(lParam) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(mHwnd, &p);
            SetCursor(cursorAt(toLayout(p)));
            return TRUE;
        }
        // A child sets its own cursor; the form's would take its place.
        if (reinterpret_cast<HWND>(wParam) != mHwnd)
            return FALSE;
        break;
    case WM_CLOSE:
        // Not while a copy runs inside a click: the request is repeated once
        // the copy has ended.
        if (program().busy > 0) {
            program().deferredCloses.push_back(mHwnd);
            return 0;
        }
        mForm.closeRequested();
        return 0;
    case WM_ACTIVATE:
        activated(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SETFOCUS:
        activated(true);
        return 0;
    case WM_NEXTDLGCTL: {
        HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(mHwnd, GetFocus(), wParam != 0);
        if (next)
            SetFocus(next);
        return 0;
    }
    case WM_COMMAND:
        // IDOK and IDCANCEL from Enter and Escape: these windows have no
        // default or escape button.
        if (lParam)
            if (Child *child = Child::of(reinterpret_cast<HWND>(lParam)))
                child->command(HIWORD(wParam));
        return 0;
    case WM_DRAWITEM: {
        const auto *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
        if (Child *child = Child::of(item->hwndItem))
            child->drawItem(*item);
        return TRUE;
    }
    case WM_MEASUREITEM: {
        // Owner-drawn lists: one line of the pane font.
        auto *item = reinterpret_cast<MEASUREITEMSTRUCT *>(lParam);
        HDC dc = GetDC(mHwnd);
        HGDIOBJ old = SelectObject(dc, font(Font::Pane, mDpi));
        TEXTMETRICW metrics;
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(mHwnd, dc);
        item->itemHeight = static_cast<UINT>(metrics.tmHeight + 2);
        return TRUE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kGreen);
        SetBkColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(blackBrush());
    }
    case WM_GETDLGCODE:
        return 0;
    case 0x02E0:  // WM_DPICHANGED: moved to a monitor of another density
        applyDpi(HIWORD(wParam), reinterpret_cast<const RECT *>(lParam));
        refreshCursor();
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT)
            if (const LRESULT result = accessibleObject(wParam))
                return result;
        break;
    case kAccessibleClick: {
        const std::vector<HotArea *> areas = hotAreas();
        if (wParam >= 1 && wParam <= areas.size() && areas[wParam - 1]->shown())
            areas[wParam - 1]->keyClick();
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(mHwnd, msg, wParam, lParam);
}

} // namespace ui::win32

// ---------------------------------------------------------------------------
// The program-wide services of the implementation

namespace ui::backend {

using ui::win32::program;

std::unique_ptr<WindowImpl> createWindow(Window &form, const WindowSetup &setup)
{
    return std::make_unique<win32::FormWindow>(form, setup);
}

void destroyLater(Window *form)
{
    win32::Program &p = program();
    p.pending.push_back({form, p.loopDepth});
    PostMessageW(win32::owner(), win32::kWake, 0, 0);
}

ScreenSize primaryScreen()
{
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

void setHourglass(bool shown)
{
    if (program().hourglass == shown)
        return;
    program().hourglass = shown;
    win32::refreshCursor();
}

bool hourglassShown()
{
    return program().hourglass;
}

void beginBusy()
{
    ++program().busy;
}

void endBusy()
{
    win32::Program &p = program();
    if (--p.busy > 0)
        return;
    // Input that reached the program during the copy is dropped now, not
    // handed to the windows once they take input again.
    win32::paintPending();
    for (HWND hwnd : std::exchange(p.deferredCloses, {}))
        if (IsWindow(hwnd))
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
}

void paint()
{
    win32::paintPending();
}

int run(int, char *[], const std::function<bool()> &start)
{
    win32::owner();
    if (!start())
        return 0;
    // The sound player is loaded while the user looks at the main screen,
    // not before it shows.
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        platform::prepareSound();
    });
    (void)timer;
    return win32::runLoop([] { return false; });
}

} // namespace ui::backend
