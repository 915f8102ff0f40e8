// The demo game of the sample disc as a Windows program: a window that shows
// the program's own file name, its command line and its current folder, so
// that every start from the menu (from the disc, from a hard-disk copy,
// through View) can be seen. Win32 alone, like the menu itself.
//
// QUORVIA_DEMO_RECORD: when set, one line "<program name>\t<arguments joined
// by spaces>\t<current folder>" (UTF-8) is appended to that file at start, as
// the Linux demo game does; the folder is the system's own ("D:\BOARD\CHESS").
// Under Wine the file may also be given as a Unix path ("/tmp/record"), so
// that one test setting serves both programs.
// QUORVIA_DEMO_EXIT_AFTER_MS: when set, the game closes itself after that many
// milliseconds.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kBackground = RGB(0x10, 0x18, 0x20);
constexpr COLORREF kText = RGB(0x00, 0xFF, 0x00);
constexpr int kWidth = 460;  // client area
constexpr int kHeight = 230;
constexpr int kMargin = 12;
constexpr int kQuitId = 1;
constexpr UINT_PTR kExitTimer = 1;

// What the window shows, read once at start.
struct Facts {
    std::wstring program;    // file name as started
    std::wstring arguments;  // joined by single spaces
    std::wstring folder;
};
Facts gFacts;
HFONT gTitleFont = nullptr;
HFONT gTextFont = nullptr;
HBRUSH gBackgroundBrush = nullptr;

std::string toUtf8(const std::wstring &wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::wstring environment(const wchar_t *name)
{
    const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0)
        return {};
    std::wstring value(length, L'\0');
    const DWORD got = GetEnvironmentVariableW(name, value.data(), length);
    value.resize(got < length ? got : 0);
    return value;
}

// Name and arguments as the command line gives them, split the way the C
// run-time splits it, so that a quoted parameter stays one argument.
Facts readFacts()
{
    Facts facts;
    int count = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv) {
        if (count > 0) {
            const std::wstring first = argv[0];
            const size_t slash = first.find_last_of(L"\\/");
            facts.program = slash == std::wstring::npos ? first : first.substr(slash + 1);
        }
        for (int i = 1; i < count; ++i)
            facts.arguments += (i > 1 ? L" " : L"") + std::wstring(argv[i]);
        LocalFree(argv);
    }
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length > 0) {
        std::wstring folder(length, L'\0');
        const DWORD got = GetCurrentDirectoryW(length, folder.data());
        folder.resize(got < length ? got : 0);
        facts.folder = folder;
    }
    return facts;
}

// A Unix path of the record under Wine as the Windows path Wine gives it;
// any other path as it is.
std::wstring recordFile(const std::wstring &path)
{
    if (path.empty() || path[0] != L'/')
        return path;
    using DosName = wchar_t *(__cdecl *)(const char *);
    const auto dosName = reinterpret_cast<DosName>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!dosName)
        return path;
    wchar_t *converted = dosName(toUtf8(path).c_str());
    if (!converted)
        return path;
    std::wstring result = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

void appendRecord(const Facts &facts)
{
    const std::wstring path = environment(L"QUORVIA_DEMO_RECORD");
    if (path.empty())
        return;
    HANDLE file = CreateFileW(recordFile(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string line = toUtf8(facts.program) + '\t' + toUtf8(facts.arguments) + '\t' + toUtf8(facts.folder) + '\n';
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

// Draws one block of text below `top` and returns the top of the next one.
int drawBlock(HDC dc, const std::wstring &text, HFONT font, int top, int width)
{
    SelectObject(dc, font);
    RECT box{kMargin, top, kMargin + width, top};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    return box.bottom + 8;
}

void paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, gBackgroundBrush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    const int width = client.right - 2 * kMargin;
    int top = kMargin;
    top = drawBlock(dc, gFacts.program, gTitleFont, top, width);
    top = drawBlock(dc, L"A demo game of the Quorvia sample disc.", gTextFont, top, width);
    top = drawBlock(dc, L"Command line:\n" + (gFacts.arguments.empty() ? L"(none)" : gFacts.arguments), gTextFont,
                    top, width);
    drawBlock(dc, L"Current folder:\n" + gFacts.folder, gTextFont, top, width);
    EndPaint(window, &ps);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // painted whole in WM_PAINT
    case WM_COMMAND:
        if (LOWORD(wParam) == kQuitId)
            DestroyWindow(window);
        return 0;
    case WM_TIMER:
        if (wParam == kExitTimer)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HFONT makeFont(int pointSize, int weight)
{
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

HWND createWindow(HINSTANCE instance)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = gBackgroundBrush;
    windowClass.lpszClassName = L"QuorviaDemoGame";
    RegisterClassW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, gFacts.program.c_str(), style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                                  instance, nullptr);
    if (!window)
        return nullptr;
    HWND quit = CreateWindowExW(0, L"BUTTON", L"Quit", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                kWidth - kMargin - 90, kHeight - kMargin - 28, 90, 28, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kQuitId)), instance, nullptr);
    SendMessageW(quit, WM_SETFONT, reinterpret_cast<WPARAM>(gTextFont), FALSE);
    return window;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    gFacts = readFacts();
    appendRecord(gFacts);

    gBackgroundBrush = CreateSolidBrush(kBackground);
    gTitleFont = makeFont(18, FW_BOLD);
    gTextFont = makeFont(9, FW_NORMAL);
    HWND window = createWindow(instance);
    if (!window)
        return 1;

    const std::wstring exitAfter = environment(L"QUORVIA_DEMO_EXIT_AFTER_MS");
    if (!exitAfter.empty()) {
        wchar_t *end = nullptr;
        const long ms = std::wcstol(exitAfter.c_str(), &end, 10);
        if (end && *end == L'\0' && ms >= 0)
            SetTimer(window, kExitTimer, static_cast<UINT>(ms), nullptr);
    }

    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    DeleteObject(gTitleFont);
    DeleteObject(gTextFont);
    DeleteObject(gBackgroundBrush);
    return static_cast<int>(message.wParam);
}
