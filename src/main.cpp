#include "platform/files.h"
#include "platform/shell.h"
#include "startup/modMain.h"
#include "ui/panes.h"

#include <QApplication>
#include <QTimer>

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

    ui::FontWarmUp fonts;
    QApplication app(argc, argv);
    fonts.applicationReady();
    QApplication::setApplicationName(QStringLiteral("Quorvia"));
    int status = 0;
    if (modMain::Main()) {
        // The sound player is loaded while the user looks at the main
        // screen, not before it shows; a sound asked for sooner waits for it.
        QTimer::singleShot(200, [] { platform::prepareSound(); });
        status = app.exec();
    }
    fonts.wait();
    return status;
}
