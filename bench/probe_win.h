// Shared by the two Windows programs of the start-up benchmark under Wine:
// reports the moment the first 640 x 480 top-level window has been painted.
// A thread hook sees the paint however it comes (dispatched from the queue or
// sent by UpdateWindow), so the program under test needs no change.
#pragma once

#include <windows.h>

#include <cstdlib>

namespace probe {

inline HHOOK gGetMessageHook;
inline HHOOK gCallWndProcHook;
inline bool gPainted;
// Posted once the paint has been handled; its arrival means the event loop is
// back, as the Qt programs' probe waits for.
inline const UINT kPaintedMessage = RegisterWindowMessageA("QuorviaBenchPainted");

// Prints one line on standard output at once and ends the program.
[[noreturn]] inline void reportAndEnd(const char *line)
{
    DWORD written = 0;
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    WriteFile(out, line, DWORD(lstrlenA(line)), &written, nullptr);
    WriteFile(out, "\n", 1, &written, nullptr);
    FlushFileBuffers(out);
    ExitProcess(0);
}

inline bool isMainWindow(HWND window)
{
    RECT client;
    return window && GetAncestor(window, GA_ROOT) == window && IsWindowVisible(window)
           && GetClientRect(window, &client) && client.right == 640 && client.bottom == 480;
}

inline void painted(HWND window)
{
    if (gPainted || !isMainWindow(window))
        return;
    gPainted = true;
    PostMessageA(window, kPaintedMessage, 0, 0);
}

inline LRESULT CALLBACK onGetMessage(int code, WPARAM removed, LPARAM data)
{
    const MSG *msg = reinterpret_cast<const MSG *>(data);
    if (code == HC_ACTION && removed == PM_REMOVE) {
        if (msg->message == kPaintedMessage)
            reportAndEnd("painted");
        // A paint from the queue is handled after this hook returns; the
        // message posted now comes out of the queue only after it.
        if (msg->message == WM_PAINT)
            painted(msg->hwnd);
    }
    return CallNextHookEx(gGetMessageHook, code, removed, data);
}

inline LRESULT CALLBACK onCallWndProcRet(int code, WPARAM sent, LPARAM data)
{
    const CWPRETSTRUCT *call = reinterpret_cast<const CWPRETSTRUCT *>(data);
    if (code == HC_ACTION && call->message == WM_PAINT)
        painted(call->hwnd);
    return CallNextHookEx(gCallWndProcHook, code, sent, data);
}

// Installs the hooks on the calling thread, the one that will own the window.
inline void watchFirstPaint()
{
    gGetMessageHook = SetWindowsHookExA(WH_GETMESSAGE, onGetMessage, nullptr, GetCurrentThreadId());
    gCallWndProcHook = SetWindowsHookExA(WH_CALLWNDPROCRET, onCallWndProcRet, nullptr, GetCurrentThreadId());
}

} // namespace probe
