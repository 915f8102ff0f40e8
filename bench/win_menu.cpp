// The Windows menu as the start-up benchmark starts it under Wine: the
// program's own start-up (as src/main.cpp), with a probe that prints
// "painted" once the main screen has been painted, and ends.
#include "platform/files.h"
#include "probe_win.h"
#include "startup/modMain.h"
#include "ui/window.h"

int main(int argc, char *argv[])
{
    // Before the program makes its first window, on the thread that owns it.
    probe::watchFirstPaint();
    if (!platform::programFolderProblem().empty())
        return 2;
    return ui::run(argc, argv, modMain::Main);
}
