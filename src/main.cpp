#include "platform/files.h"
#include "startup/modMain.h"
#include "ui/window.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    // Every data file is found through the program's folder: without a DOS
    // path for it the menu would run with no catalogues and no sounds.
    const std::string problem = platform::programFolderProblem();
    if (!problem.empty()) {
        std::fprintf(stderr, "Quorvia: %s\n", problem.c_str());
        return 2;
    }
    return ui::run(argc, argv, modMain::Main);
}
