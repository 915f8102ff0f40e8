#include "platform/shell.h"
#include "startup/modMain.h"
#include "ui/panes.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
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
