// What a screen reader finds in a window of another program, read through
// AccessibleObjectFromWindow, for the end-to-end tests under Wine.
//   read_accessible TITLE WIDTH HEIGHT
//       the visible top-level window of that exact title and client size:
//       "name<TAB>TEXT" and "description<TAB>TEXT" of its client area, then
//       one line per element that is a push button:
//       "button<TAB>NAME<TAB>STATES<TAB>DESCRIPTION<TAB>LEFT,TOP,WIDTH,HEIGHT"
//       (STATES: a comma-separated subset of focusable, focused, selected,
//       invisible; the rectangle relative to the client area). Line breaks in
//       a text are written "\n". Exit status 1 when there is no such window
//       or it gives no accessible object.
//   read_accessible press TITLE WIDTH HEIGHT NAME
//       the default action of the button of that name
//   read_accessible keys TITLE WIDTH HEIGHT KEY...
//       types each key into the program that has the keyboard (tab,
//       shift+tab, enter, space, escape, up, down, left, right; hold+enter
//       and hold+space: three presses, then the release), and after each
//       prints "focus<TAB>WHAT" for that window: the focused button's name,
//       "#" and the class of a focused child control, "-" for nothing, or
//       "gone" once the window is no longer shown ("none" types nothing; a
//       WIDTH of 0 takes the window of that title whatever its size)
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Written out: the one in the import library links to the wrong bytes.
constexpr IID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct Wanted {
    const char *title;
    int width, height;
    HWND found = nullptr;
};

BOOL CALLBACK collect(HWND window, LPARAM data)
{
    Wanted &wanted = *reinterpret_cast<Wanted *>(data);
    char title[256];
    RECT client;
    if (!IsWindowVisible(window) || GetWindowTextA(window, title, sizeof title) < 0
        || std::strcmp(title, wanted.title) != 0 || !GetClientRect(window, &client))
        return TRUE;
    if (wanted.width == 0 || (client.right == wanted.width && client.bottom == wanted.height)) {
        wanted.found = window;
        return FALSE;
    }
    return TRUE;
}

std::string utf8(BSTR text)
{
    if (!text)
        return {};
    const int wideLength = static_cast<int>(SysStringLen(text));
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, wideLength, out.data(), length, nullptr, nullptr);
    SysFreeString(text);
    std::string escaped;
    for (char c : out) {
        if (c == '\n')
            escaped += "\\n";
        else if (c != '\r')
            escaped += c;
    }
    return escaped;
}

VARIANT child(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::string states(long bits)
{
    std::string out;
    const struct {
        long bit;
        const char *name;
    } known[] = {{STATE_SYSTEM_FOCUSABLE, "focusable"},
                 {STATE_SYSTEM_FOCUSED, "focused"},
                 {STATE_SYSTEM_SELECTED, "selected"},
                 {STATE_SYSTEM_INVISIBLE, "invisible"}};
    for (const auto &k : known)
        if (bits & k.bit)
            out += (out.empty() ? "" : ",") + std::string(k.name);
    return out;
}

HWND findWindow(const char *title, int width, int height)
{
    Wanted wanted{title, width, height};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&wanted));
    return wanted.found;
}

IAccessible *clientOf(HWND window)
{
    IAccessible *client = nullptr;
    const HRESULT got = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                                   reinterpret_cast<void **>(&client));
    if (FAILED(got))
        std::fprintf(stderr, "AccessibleObjectFromWindow: 0x%08lx\n", static_cast<unsigned long>(got));
    return SUCCEEDED(got) ? client : nullptr;
}

// Waits, taking the messages that come meanwhile: COM gave this thread a
// window, and a program that sends it a message must not wait for us.
void pause(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    for (DWORD now = GetTickCount(); static_cast<LONG>(end - now) > 0; now = GetTickCount()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
}

void keyEvent(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
    pause(30);
}

bool type(const std::string &keyName)
{
    std::string name = keyName;
    bool shift = false, hold = false;
    if (name.rfind("shift+", 0) == 0) {
        shift = true;
        name = name.substr(6);
    } else if (name.rfind("hold+", 0) == 0) {
        hold = true;
        name = name.substr(5);
    }
    const struct {
        const char *name;
        WORD key;
    } keys[] = {{"tab", VK_TAB},   {"enter", VK_RETURN}, {"space", VK_SPACE}, {"escape", VK_ESCAPE},
                {"up", VK_UP},     {"down", VK_DOWN},    {"left", VK_LEFT},   {"right", VK_RIGHT}};
    if (name == "none")
        return true;
    WORD key = 0;
    for (const auto &k : keys)
        if (name == k.name)
            key = k.key;
    if (!key)
        return false;
    if (shift)
        keyEvent(VK_SHIFT, false);
    for (int i = 0; i < (hold ? 3 : 1); ++i)
        keyEvent(key, false);
    keyEvent(key, true);
    if (shift)
        keyEvent(VK_SHIFT, true);
    return true;
}

// What has the keyboard focus in the window, as the "keys" command prints it.
std::string focusIn(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
        return "-";
    if (info.hwndFocus != window) {
        if (!IsChild(window, info.hwndFocus))
            return "-";
        char name[64] = "";
        GetClassNameA(info.hwndFocus, name, sizeof name);
        return std::string("#") + name;
    }
    std::string what = "-";
    if (IAccessible *client = clientOf(window)) {
        VARIANT focus;
        VariantInit(&focus);
        if (client->get_accFocus(&focus) == S_OK && focus.vt == VT_I4 && focus.lVal > 0) {
            BSTR text = nullptr;
            client->get_accName(child(focus.lVal), &text);
            what = utf8(text);
        }
        client->Release();
    }
    return what;
}

int typeKeys(const char *title, int width, int height, char **keys, int count)
{
    for (int i = 0; i < count; ++i) {
        if (!type(keys[i])) {
            std::fprintf(stderr, "unknown key '%s'\n", keys[i]);
            return 2;
        }
        // Time for the program to take the key and paint.
        pause(250);
        HWND window = findWindow(title, width, height);
        std::printf("focus\t%s\n", window ? focusIn(window).c_str() : "gone");
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (argc >= 5 && std::strcmp(argv[1], "keys") == 0)
        return typeKeys(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argv + 5, argc - 5);
    const bool press = argc >= 2 && std::strcmp(argv[1], "press") == 0;
    const int first = press ? 2 : 1;
    if (argc < first + 3 || (press && argc < 6)) {
        std::fprintf(stderr, "Usage: read_accessible [press] TITLE WIDTH HEIGHT [NAME]\n");
        return 2;
    }
    HWND window = findWindow(argv[first], std::atoi(argv[first + 1]), std::atoi(argv[first + 2]));
    if (!window) {
        std::fprintf(stderr, "no window '%s' of %sx%s\n", argv[first], argv[first + 1], argv[first + 2]);
        return 1;
    }
    IAccessible *client = clientOf(window);
    if (!client) {
        std::fprintf(stderr, "no accessible object\n");
        return 1;
    }
    POINT origin{0, 0};
    ClientToScreen(window, &origin);

    const VARIANT self = child(CHILDID_SELF);
    BSTR text = nullptr;
    if (!press) {
        client->get_accName(self, &text);
        std::printf("name\t%s\n", utf8(text).c_str());
        text = nullptr;
        client->get_accDescription(self, &text);
        std::printf("description\t%s\n", utf8(text).c_str());
    }
    long count = 0;
    client->get_accChildCount(&count);
    int status = press ? 1 : 0;
    for (long id = 1; id <= count; ++id) {
        const VARIANT v = child(id);
        IDispatch *object = nullptr;
        if (client->get_accChild(v, &object) == S_OK && object) {
            object->Release();  // a child control, with an object of its own
            continue;
        }
        VARIANT role;
        VariantInit(&role);
        if (client->get_accRole(v, &role) != S_OK || role.vt != VT_I4 || role.lVal != ROLE_SYSTEM_PUSHBUTTON)
            continue;
        text = nullptr;
        client->get_accName(v, &text);
        const std::string name = utf8(text);
        if (press) {
            if (name == argv[5]) {
                status = SUCCEEDED(client->accDoDefaultAction(v)) ? 0 : 1;
                break;
            }
            continue;
        }
        VARIANT state;
        VariantInit(&state);
        client->get_accState(v, &state);
        text = nullptr;
        client->get_accDescription(v, &text);
        const std::string description = utf8(text);
        long l = 0, t = 0, w = 0, h = 0;
        client->accLocation(&l, &t, &w, &h, v);
        std::printf("button\t%s\t%s\t%s\t%ld,%ld,%ld,%ld\n", name.c_str(),
                    states(state.vt == VT_I4 ? state.lVal : 0).c_str(), description.c_str(), l - origin.x,
                    t - origin.y, w, h);
    }
    client->Release();
    std::fflush(stdout);
    return status;
}
