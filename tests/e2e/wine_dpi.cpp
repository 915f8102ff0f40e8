// Tells a window of the program, from inside Wine, that it moved to a monitor
// of another density, as Windows does with WM_DPICHANGED when a window is
// dragged between monitors (Wine has one density for all its monitors, so it
// never sends it). The message goes without the suggested rectangle, since a
// pointer does not cross processes: the window keeps its place.
//   wine_dpi TITLE WIDTH HEIGHT DPI
//                  to the visible top-level window of that exact title and
//                  client size; exit status 1 if there is none
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Wanted {
    const char *title;
    int width, height;
    HWND found = nullptr;
};

BOOL CALLBACK find(HWND window, LPARAM data)
{
    Wanted &wanted = *reinterpret_cast<Wanted *>(data);
    char title[256];
    RECT client;
    if (IsWindowVisible(window) && GetWindowTextA(window, title, sizeof title) >= 0
        && std::strcmp(title, wanted.title) == 0 && GetClientRect(window, &client) && client.right == wanted.width
        && client.bottom == wanted.height) {
        wanted.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "Usage: wine_dpi TITLE WIDTH HEIGHT DPI\n");
        return 2;
    }
    Wanted wanted{argv[1], std::atoi(argv[2]), std::atoi(argv[3])};
    EnumWindows(find, reinterpret_cast<LPARAM>(&wanted));
    if (!wanted.found)
        return 1;
    const WORD dpi = static_cast<WORD>(std::atoi(argv[4]));
    constexpr UINT kDpiChanged = 0x02E0;
    PostMessageA(wanted.found, kDpiChanged, MAKEWPARAM(dpi, dpi), 0);
    return 0;
}
