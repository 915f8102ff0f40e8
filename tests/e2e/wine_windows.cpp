// A look at the program's windows from inside Wine, for the end-to-end tests
// of the Windows program: under Xvfb without a window manager the X windows
// show only client areas, so the outer frames that centring works on are
// read here.
//   wine_windows list TITLE    one line per visible top-level window of that
//                              exact title: "outer LEFT TOP WIDTH HEIGHT
//                              client LEFT TOP WIDTH HEIGHT" (screen pixels)
//   wine_windows close TITLE WIDTH HEIGHT
//                              the close command (as the title bar's close
//                              button gives it) to the visible window of that
//                              title and client size; exit status 1 if none
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Wanted {
    const char *title;
    int width = -1, height = -1;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM data)
{
    Wanted &wanted = *reinterpret_cast<Wanted *>(data);
    char title[256];
    RECT client;
    if (!IsWindowVisible(window) || GetWindowTextA(window, title, sizeof title) < 0
        || std::strcmp(title, wanted.title) != 0 || !GetClientRect(window, &client))
        return TRUE;
    if (wanted.width < 0 || (client.right == wanted.width && client.bottom == wanted.height))
        wanted.found.push_back(window);
    return TRUE;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3 || (std::strcmp(argv[1], "close") == 0 && argc < 5)) {
        std::fprintf(stderr, "Usage: wine_windows list TITLE | close TITLE WIDTH HEIGHT\n");
        return 2;
    }
    Wanted wanted{argv[2], -1, -1, {}};
    const bool close = std::strcmp(argv[1], "close") == 0;
    if (close) {
        wanted.width = std::atoi(argv[3]);
        wanted.height = std::atoi(argv[4]);
    }
    EnumWindows(collect, reinterpret_cast<LPARAM>(&wanted));
    if (close) {
        if (wanted.found.empty())
            return 1;
        PostMessageA(wanted.found.front(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    for (HWND window : wanted.found) {
        RECT outer, client;
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        std::printf("outer %ld %ld %ld %ld client %ld %ld %ld %ld\n", outer.left, outer.top,
                    outer.right - outer.left, outer.bottom - outer.top, origin.x, origin.y, client.right,
                    client.bottom);
    }
    return 0;
}
