// Reads and answers a message box from inside Wine, for the tests of the
// disc's setup: what a message box says is text in its child windows, which
// the X server does not show.
//   wine_dialog text TITLE          the texts of the child windows of the
//                                   visible top-level window TITLE, one a
//                                   line; exit status 1 if there is none
//   wine_dialog press TITLE BUTTON  clicks the child button whose text is
//                                   BUTTON (without its "&"); 1 if none
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND findVisible(const char *title)
{
    HWND found = nullptr;
    for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, title); w; w = FindWindowExA(nullptr, w, nullptr, title)) {
        if (IsWindowVisible(w)) {
            found = w;
            break;
        }
    }
    return found;
}

std::string textOf(HWND window)
{
    char text[4096];
    GetWindowTextA(window, text, sizeof text);
    std::string s = text;
    // A button's access key marker is not part of what it says.
    std::string::size_type amp;
    while ((amp = s.find('&')) != std::string::npos)
        s.erase(amp, 1);
    return s;
}

struct Search {
    const char *button = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK printChild(HWND child, LPARAM)
{
    std::printf("%s\n", textOf(child).c_str());
    return TRUE;
}

BOOL CALLBACK findButton(HWND child, LPARAM data)
{
    Search &search = *reinterpret_cast<Search *>(data);
    char cls[64];
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Button") == 0 && textOf(child) == search.button) {
        search.found = child;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: wine_dialog text TITLE | press TITLE BUTTON\n");
        return 2;
    }
    const std::string command = argv[1];
    HWND window = findVisible(argv[2]);
    if (!window)
        return 1;
    if (command == "text") {
        EnumChildWindows(window, printChild, 0);
        return 0;
    }
    if (command == "press" && argc == 4) {
        Search search;
        search.button = argv[3];
        EnumChildWindows(window, findButton, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            return 1;
        // Posted, as a click would come: the box's own loop ends itself.
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(search.found), BN_CLICKED),
                     reinterpret_cast<LPARAM>(search.found));
        return 0;
    }
    return 2;
}
