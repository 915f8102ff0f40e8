// Tests of the control library on Win32, run as a Windows program (under Wine
// in CI): real windows get real window messages, and the tests read what the
// forms' handlers saw. QUORVIA_TEST_DRIVE names a drive letter whose root is
// an empty scratch folder, for the folder list.
#include "quorvia_doctest.h"

#include "platform/drives.h"
#include "ui/controls.h"
#include "ui/win32/widgets.h"
#include "ui/window.h"

#include <oleacc.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A form of the given frame with nothing on it; the tests add controls.
class TestForm : public ui::Window {
public:
    explicit TestForm(ui::Frame frame = ui::Frame::Dialog) : ui::Window({"frmTest", 300, 200, frame, "Test"}) {}
    HWND hwnd() const { return reinterpret_cast<HWND>(nativeHandle()); }
};

// A second kind of form, for the one shown modally over the first.
class ModalForm : public TestForm {
public:
    ModalForm() { ++created; }
    ~ModalForm() override { ++destroyed; }
    static inline int created = 0, destroyed = 0;
};

HWND hwndOf(const ui::Control *control)
{
    return dynamic_cast<const ui::win32::Child &>(*control).hwnd();
}

// Hands the window every message that is waiting.
void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct Mouse {
    UINT msg;
    int x, y;
    WPARAM held;
};

void send(HWND hwnd, const std::vector<Mouse> &sequence)
{
    for (const Mouse &m : sequence)
        SendMessageW(hwnd, m.msg, m.held, MAKELPARAM(m.x, m.y));
}

} // namespace

TEST_CASE("a hot area: presses and releases of any button, a click only for a left press and release over it")
{
    struct Row {
        const char *name;
        std::vector<Mouse> sequence;
        const char *expected;
    };
    // The hot area lies at 10,10 (50 x 20); 100,100 is bare background.
    const Row rows[] = {
        {"a click", {{WM_LBUTTONDOWN, 20, 15, MK_LBUTTON}, {WM_LBUTTONUP, 20, 15, 0}}, "down up click"},
        {"released elsewhere: the area keeps the pointer until the release",
         {{WM_LBUTTONDOWN, 20, 15, MK_LBUTTON}, {WM_MOUSEMOVE, 100, 100, MK_LBUTTON}, {WM_LBUTTONUP, 100, 100, 0}},
         "down move up"},
        {"a double-click is one click",
         {{WM_LBUTTONDOWN, 20, 15, MK_LBUTTON},
          {WM_LBUTTONUP, 20, 15, 0},
          {WM_LBUTTONDBLCLK, 20, 15, MK_LBUTTON},
          {WM_LBUTTONUP, 20, 15, 0}},
         "down up click down up"},
        {"the right button", {{WM_RBUTTONDOWN, 20, 15, MK_RBUTTON}, {WM_RBUTTONUP, 20, 15, 0}}, "down up"},
        {"movement over the area", {{WM_MOUSEMOVE, 20, 15, 0}}, "move"},
        {"movement over the background", {{WM_MOUSEMOVE, 100, 100, 0}}, "form"},
        {"a press on the background and a release over the area",
         {{WM_LBUTTONDOWN, 100, 100, MK_LBUTTON}, {WM_LBUTTONUP, 20, 15, 0}}, ""},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        TestForm form;
        ui::HotArea *area = form.addHotArea({10, 10, 50, 20});
        std::string seen;
        const auto note = [&seen](const char *what) {
            return [&seen, what] { seen += seen.empty() ? what : std::string(" ") + what; };
        };
        area->onMouseMove = note("move");
        area->onMouseDown = note("down");
        area->onMouseUp = note("up");
        area->onClick = note("click");
        form.onMouseMove = note("form");
        send(form.hwnd(), row.sequence);
        CHECK(seen == row.expected);
    }
}

TEST_CASE("what lies above a hot area decides where the pointer goes")
{
    struct Row {
        const char *name;
        ui::LabelStyle style;
        bool areaHidden;
        const char *expected;
    };
    // A shown label over the hot area: the status line lets the pointer
    // through to what is beneath, the message takes it and reaches nothing.
    const Row rows[] = {
        {"status line over the area", ui::LabelStyle::Status, false, "area"},
        {"status line over a hidden area", ui::LabelStyle::Status, true, "form"},
        {"message over the area", ui::LabelStyle::Message, false, ""},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        TestForm form;
        ui::HotArea *area = form.addHotArea({10, 10, 50, 20});
        ui::Label *label = form.addLabel({0, 0, 100, 50}, row.style);
        label->show();
        if (row.areaHidden)
            area->hide();
        std::string seen;
        area->onMouseMove = [&seen] { seen += "area"; };
        form.onMouseMove = [&seen] { seen += "form"; };
        send(form.hwnd(), {{WM_MOUSEMOVE, 20, 15, 0}});
        CHECK(seen == row.expected);
    }
}

TEST_CASE("a label's text fits when it wraps into the label, at spaces and at zero-width spaces")
{
    TestForm form;
    ui::Label *label = form.addLabel({0, 0, 120, 80}, ui::LabelStyle::Message);
    const std::string path = "E:\\ARCADE\\LONGNAME\\SUBFOLDER\\";
    std::string breakable;
    for (char c : path) {
        breakable += c;
        if (c == '\\')
            breakable += "\u200B";
    }
    CHECK(label->fits("Short"));
    CHECK(label->fits("Three short words"));
    // One word wider than the label does not fit; the same word with places
    // to wrap does, in several lines.
    CHECK_FALSE(label->fits(path));
    CHECK(label->fits(breakable));
    // Too many lines for the label's height.
    CHECK_FALSE(label->fits("one two three four five six seven eight nine ten eleven twelve thirteen"));
}

TEST_CASE("the list: the first arrow key selects the first entry, and each change of the selection is one click")
{
    TestForm form;
    ui::ListBox *list = form.addListBox({0, 0, 150, 150});
    int clicks = 0;
    list->onClick = [&clicks] { ++clicks; };
    list->addItems({"Alpha", "Beta", "Gamma"});
    HWND hwnd = hwndOf(list);

    SendMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0);
    CHECK(list->selectedIndex() == 0);
    CHECK(clicks == 1);
    SendMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0);
    CHECK(list->selectedIndex() == 1);
    CHECK(clicks == 2);
    // The list telling again of the same selection (a click on the selected
    // entry) is no new click.
    const int id = GetDlgCtrlID(hwnd);
    SendMessageW(form.hwnd(), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(hwnd));
    CHECK(clicks == 2);
    // After the list is refilled, the first arrow key selects the first entry again.
    list->clear();
    list->addItems({"Delta", "Epsilon"});
    CHECK(list->selectedIndex() == -1);
    SendMessageW(hwnd, WM_KEYDOWN, VK_UP, 0);
    CHECK(list->selectedIndex() == 0);
    CHECK(clicks == 3);
    CHECK(list->item(0) == "Delta");
}

TEST_CASE("the pane shows its text from the top and gives it back as it was set")
{
    TestForm form;
    ui::TextPane *pane = form.addTextPane({0, 0, 150, 60});
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Line " + std::to_string(i) + "\n";
    pane->setText(text);
    CHECK(pane->text() == text);
    HWND hwnd = hwndOf(pane);
    CHECK(SendMessageW(hwnd, EM_GETFIRSTVISIBLELINE, 0, 0) == 0);
    // Each "\n" is a line of the control.
    CHECK(SendMessageW(hwnd, EM_GETLINECOUNT, 0, 0) == 41);
}

TEST_CASE("DOS paths of the folder list in their plain form")
{
    struct Row {
        const char *path, *normal;
    };
    const Row rows[] = {
        {"c:", "C:\\"},           {"c:\\", "C:\\"},         {"C:/games//chess/", "C:\\games\\chess"},
        {"c:\\a\\..\\..\\b", "C:\\b"}, {"c:\\.\\a\\.", "C:\\a"}, {"games", ""},
        {"1:\\", ""},
    };
    for (const Row &row : rows) {
        CAPTURE(row.path);
        CHECK(ui::win32::normalDosPath(row.path) == row.normal);
    }
}

TEST_CASE("the folder list: ancestors and subfolders of its path, a Change only when the path differs")
{
    const char *letter = std::getenv("QUORVIA_TEST_DRIVE");
    REQUIRE_MESSAGE(letter, "QUORVIA_TEST_DRIVE names the scratch drive");
    const std::string root = std::string(1, letter[0]) + ":\\";
    const std::string top = root + "FOLDERLIST";
    for (const std::string &folder : {top, top + "\\GAMES", top + "\\GAMES\\CHESS", top + "\\GAMES\\GO"})
        CreateDirectoryA(folder.c_str(), nullptr);

    TestForm form;
    ui::FolderList *folders = form.addFolderList({0, 0, 150, 150});
    int changes = 0;
    folders->onChange = [&changes] { ++changes; };
    HWND hwnd = hwndOf(folders);

    REQUIRE(folders->setPath(top + "/GAMES/./CHESS/.."));
    CHECK(folders->path() == top + "\\GAMES");
    CHECK(changes == 1);
    // The root, FOLDERLIST and GAMES, then CHESS and GO.
    CHECK(SendMessageW(hwnd, LB_GETCOUNT, 0, 0) == 5);
    CHECK(SendMessageW(hwnd, LB_GETCURSEL, 0, 0) == 2);

    CHECK(folders->setPath(top + "\\GAMES\\"));
    CHECK(changes == 1);
    CHECK_FALSE(folders->setPath(top + "\\MISSING"));
    CHECK(folders->path() == top + "\\GAMES");

    // Enter on a subfolder opens it.
    SendMessageW(hwnd, LB_SETCURSEL, 4, 0);
    SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    CHECK(folders->path() == top + "\\GAMES\\GO");
    CHECK(changes == 2);
}

TEST_CASE("a modal window runs its own loop, the other windows disabled, and is deleted once unloaded")
{
    TestForm main(ui::Frame::MainScreen);
    main.showModeless();
    ModalForm::created = ModalForm::destroyed = 0;
    ModalForm &dialog = ui::form<ModalForm>();
    const HWND mainWindow = main.hwnd();
    static bool mainEnabledMeanwhile;
    static HWND watched;
    static ModalForm *shown;
    mainEnabledMeanwhile = true;
    watched = mainWindow;
    shown = &dialog;
    // From inside the modal loop: whether the main screen takes input, then
    // the unload that ends the loop.
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        mainEnabledMeanwhile = IsWindowEnabled(watched) != 0;
        shown->unload();
    });
    dialog.showModal();
    CHECK_FALSE(mainEnabledMeanwhile);
    CHECK(IsWindowEnabled(mainWindow));
    // Deleted by the loop it was unloaded in; the next reference builds anew.
    CHECK(ModalForm::destroyed == 1);
    CHECK(ui::loadedForm<ModalForm>() == nullptr);
    ui::form<ModalForm>().unload();
    pump();
    CHECK(ModalForm::created == 2);
    main.hide();
}

TEST_CASE("while a copy runs, a close request waits for its end and input is dropped")
{
    TestForm form;
    ui::HotArea *area = form.addHotArea({10, 10, 50, 20});
    int closes = 0, presses = 0;
    form.onClose = [&closes] { ++closes; };
    area->onMouseDown = [&presses] { ++presses; };
    {
        ui::BusyScope busy;
        PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
        PostMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
        busy.keepPainting();
        CHECK(closes == 0);
        PostMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    }
    pump();
    CHECK(closes == 1);
    CHECK(presses == 0);
}

TEST_CASE("a window is placed by its outer size before it was first shown")
{
    TestForm form(ui::Frame::MainScreen);
    const layout::Rect outer = form.outerRect();
    RECT client;
    GetClientRect(form.hwnd(), &client);
    CHECK(client.right == 300);
    CHECK(client.bottom == 200);
    // A title bar and borders around the client area.
    CHECK(outer.w > 300);
    CHECK(outer.h > 200);
    form.moveOuter(40, 30);
    CHECK(form.outerRect().x == 40);
    CHECK(form.outerRect().y == 30);
}

// ---------------------------------------------------------------------------
// The keyboard and screen readers

namespace {

// Hands every waiting message to the program's own loop step, so that the
// form sees its keys before the dialog navigation.
void pumpLoop()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        ui::win32::dispatch(msg);
}

// A key typed into whatever has the focus; `held` marks an auto-repeat.
void key(UINT msg, WPARAM vk, bool held = false)
{
    LPARAM lParam = 1;
    if (held || msg == WM_KEYUP)
        lParam |= 1L << 30;
    if (msg == WM_KEYUP)
        lParam |= 1L << 31;
    PostMessageW(GetFocus(), msg, vk, lParam);
    pumpLoop();
}

void stroke(WPARAM vk)
{
    key(WM_KEYDOWN, vk);
    key(WM_KEYUP, vk);
}

void setShift(bool down)
{
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

// A shown form with a list, two hot areas, a hidden one and a pane, in the
// Tab cycle list, first, hidden, second, pane; each focus noted by name.
struct KeyboardForm {
    TestForm form;
    ui::ListBox *list = form.addListBox({200, 10, 90, 80});
    ui::HotArea *first = form.addHotArea({10, 10, 50, 20});
    ui::HotArea *hidden = form.addHotArea({10, 40, 50, 20});
    ui::HotArea *second = form.addHotArea({10, 70, 50, 20});
    ui::TextPane *pane = form.addTextPane({200, 100, 90, 80});
    std::string seen;

    KeyboardForm()
    {
        hidden->hide();
        form.setTabOrder({list, first, hidden, second, pane});
        const auto note = [this](const char *what) {
            return [this, what] { seen += seen.empty() ? what : std::string(" ") + what; };
        };
        list->onFocus = note("list");
        first->onFocus = note("first");
        hidden->onFocus = note("hidden");
        second->onFocus = note("second");
        pane->onFocus = note("pane");
        first->onClick = note("click");
        first->onMouseDown = note("down");
        first->onMouseUp = note("up");
        first->onArrow = [this](ui::Arrow a) { seen += a == ui::Arrow::Down ? " arrow-down" : " arrow-other"; };
        form.showModeless();
        pumpLoop();
    }
    ~KeyboardForm() { form.hide(); }
};

} // namespace

TEST_CASE("the Tab cycle mixes hot areas and child controls, skips a hidden one and wraps both ways")
{
    KeyboardForm k;
    // Opened without a focus set by the form: nothing has it.
    CHECK(GetFocus() == k.form.hwnd());
    CHECK_FALSE(k.first->hasFocus());
    CHECK(k.seen.empty());
    for (int i = 0; i < 5; ++i)
        stroke(VK_TAB);
    CHECK(k.seen == "list first second pane list");
    CHECK(GetFocus() == hwndOf(k.list));
    k.seen.clear();
    setShift(true);
    for (int i = 0; i < 4; ++i)
        stroke(VK_TAB);
    setShift(false);
    CHECK(k.seen == "pane second first list");
    // While a hot area has the focus the system's focus is on the form.
    stroke(VK_TAB);
    CHECK(k.first->hasFocus());
    CHECK(GetFocus() == k.form.hwnd());
    // A click gives no focus: the area that has it keeps it.
    send(k.form.hwnd(), {{WM_LBUTTONDOWN, 20, 75, MK_LBUTTON}, {WM_LBUTTONUP, 20, 75, 0}});
    CHECK(k.first->hasFocus());
    CHECK_FALSE(k.second->hasFocus());
}

TEST_CASE("Enter as it goes down and Space as it comes up are one click each, held or not, without press or release")
{
    struct Row {
        const char *name;
        std::vector<std::pair<UINT, WPARAM>> keys;  // a second WM_KEYDOWN of a key is its auto-repeat
        const char *expected;
    };
    const Row rows[] = {
        {"Enter", {{WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}}, "click"},
        {"Enter held", {{WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}},
         "click"},
        {"Space clicks as it comes up", {{WM_KEYDOWN, VK_SPACE}}, ""},
        {"Space", {{WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE}}, "click"},
        {"Space held", {{WM_KEYDOWN, VK_SPACE}, {WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE}}, "click"},
        {"a release of Space that went down elsewhere", {{WM_KEYUP, VK_SPACE}}, ""},
        {"an arrow key", {{WM_KEYDOWN, VK_DOWN}, {WM_KEYDOWN, VK_LEFT}}, "arrow-down arrow-other"},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        KeyboardForm k;
        k.first->setFocus();
        REQUIRE(k.seen == "first");
        k.seen.clear();
        WPARAM down = 0;
        for (const auto &[msg, vk] : row.keys) {
            key(msg, vk, msg == WM_KEYDOWN && down == vk);
            down = msg == WM_KEYDOWN ? vk : 0;
        }
        k.seen.erase(0, k.seen.find_first_not_of(' '));
        CHECK(k.seen == row.expected);
    }
}

TEST_CASE("the keys of a hot area do nothing while it is hidden or has no focus")
{
    KeyboardForm k;
    stroke(VK_RETURN);
    stroke(VK_SPACE);
    CHECK(k.seen.empty());
    // Code cannot focus a hidden one either.
    k.hidden->setFocus();
    CHECK_FALSE(k.hidden->hasFocus());
    k.first->setFocus();
    k.first->hide();
    stroke(VK_RETURN);
    CHECK(k.seen == "first");
}

TEST_CASE("Escape anywhere in the window is onEscape, once per stroke, and nothing when unset")
{
    KeyboardForm k;
    int escapes = 0;
    stroke(VK_ESCAPE);  // unset: nothing, and the window stays
    CHECK(IsWindowVisible(k.form.hwnd()));
    k.form.onEscape = [&escapes] { ++escapes; };
    stroke(VK_ESCAPE);
    CHECK(escapes == 1);
    k.pane->onFocus = nullptr;
    stroke(VK_TAB);
    stroke(VK_TAB);
    stroke(VK_TAB);
    stroke(VK_TAB);
    REQUIRE(GetFocus() == hwndOf(k.pane));
    // From the multi-line pane too, which would take Escape for a close.
    int closes = 0;
    k.form.onClose = [&closes] { ++closes; };
    key(WM_KEYDOWN, VK_ESCAPE);
    key(WM_KEYDOWN, VK_ESCAPE, true);
    key(WM_KEYUP, VK_ESCAPE);
    pumpLoop();
    CHECK(escapes == 2);
    CHECK(closes == 0);
}

TEST_CASE("the focus rectangle shows inside the focused hot area, whatever lies above it, and goes with the focus")
{
    KeyboardForm k;
    // A shown label over the area: the rectangle is drawn above it.
    ui::Label *label = k.form.addLabel({0, 0, 100, 100}, ui::LabelStyle::Status);
    label->show();
    const auto litOnTopEdge = [&k] {
        RedrawWindow(k.form.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC dc = GetDC(k.form.hwnd());
        int lit = 0;
        for (int x = 10; x < 60; ++x)
            if (GetPixel(dc, x, 10) != RGB(0, 0, 0))
                ++lit;
        ReleaseDC(k.form.hwnd(), dc);
        return lit;
    };
    CHECK(litOnTopEdge() == 0);
    k.first->setFocus();
    pumpLoop();
    const int dotted = litOnTopEdge();
    CHECK(dotted > 10);
    CHECK(dotted < 50);
    // Pointer movement over the background does not hide it.
    send(k.form.hwnd(), {{WM_MOUSEMOVE, 150, 150, 0}});
    CHECK(litOnTopEdge() == dotted);
    k.list->setFocus();
    pumpLoop();
    CHECK(litOnTopEdge() == 0);
}

namespace {

constexpr IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

IAccessible *accessibleOf(HWND hwnd)
{
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                          reinterpret_cast<void **>(&object))))
        return nullptr;
    return object;
}

VARIANT childId(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string textOf(BSTR text)
{
    std::string out = text ? ui::win32::utf8(std::wstring(text, SysStringLen(text))) : "";
    SysFreeString(text);
    return out;
}

} // namespace

TEST_CASE("a screen reader finds the hot areas as push buttons with their names, descriptions and states")
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    KeyboardForm k;
    k.form.setAccessibleDescription("What the dialog says.");
    k.first->setAccessible("Copy to Hard Drive", "Click here to copy.");
    k.second->setAccessible("arcade", "");
    k.second->setSelected(true);
    k.first->setFocus();
    IAccessible *client = accessibleOf(k.form.hwnd());
    REQUIRE(client);

    BSTR text = nullptr;
    client->get_accName(childId(CHILDID_SELF), &text);
    CHECK(textOf(text) == "Test");
    text = nullptr;
    client->get_accDescription(childId(CHILDID_SELF), &text);
    CHECK(textOf(text) == "What the dialog says.");
    // The three hot areas, then the list and the pane as objects of their own.
    long count = 0;
    client->get_accChildCount(&count);
    CHECK(count == 5);
    IDispatch *object = nullptr;
    CHECK(client->get_accChild(childId(1), &object) == S_FALSE);
    CHECK(client->get_accChild(childId(4), &object) == S_OK);
    if (object)
        object->Release();

    struct Row {
        long id;
        const char *name, *description;
        long states;
    };
    const Row rows[] = {
        {1, "Copy to Hard Drive", "Click here to copy.", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED},
        {2, "", "", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_INVISIBLE},
        {3, "arcade", "", STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTED},
    };
    for (const Row &row : rows) {
        CAPTURE(row.id);
        text = nullptr;
        client->get_accName(childId(row.id), &text);
        CHECK(textOf(text) == row.name);
        text = nullptr;
        client->get_accDescription(childId(row.id), &text);
        CHECK(textOf(text) == row.description);
        VARIANT role, state;
        VariantInit(&role);
        VariantInit(&state);
        REQUIRE(client->get_accRole(childId(row.id), &role) == S_OK);
        CHECK(role.lVal == ROLE_SYSTEM_PUSHBUTTON);
        REQUIRE(client->get_accState(childId(row.id), &state) == S_OK);
        CHECK(state.lVal == row.states);
    }
    CHECK(client->get_accName(childId(6), &text) == E_INVALIDARG);

    // The default action is a click, from the event loop.
    text = nullptr;
    client->get_accDefaultAction(childId(1), &text);
    CHECK(textOf(text) == "Press");
    k.seen.clear();
    CHECK(client->accDoDefaultAction(childId(1)) == S_OK);
    CHECK(k.seen.empty());
    pumpLoop();
    CHECK(k.seen == "click");
    client->Release();
}

TEST_CASE("a screen reader that keeps a window's object after the window is gone gets errors, not a crash")
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible *client = nullptr;
    {
        TestForm form;
        form.addHotArea({10, 10, 50, 20})->setAccessible("OK", "");
        client = accessibleOf(form.hwnd());
        REQUIRE(client);
    }
    BSTR text = nullptr;
    long count = -1;
    CHECK(FAILED(client->get_accName(childId(1), &text)));
    CHECK(FAILED(client->get_accChildCount(&count)));
    CHECK(FAILED(client->accDoDefaultAction(childId(1))));
    client->Release();
}
