#include "platform/fonts.h"
#include "platform/shell.h"
#include "startup/modMain.h"
#include "ui/panes.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    platform::prepareFonts();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvia"));
    const ui::FontWarmUp fonts;
    if (!modMain::Main())
        return 0;
    // The sound player is loaded while the user looks at the main screen,
    // not before it shows; a sound asked for sooner waits for it.
    QTimer::singleShot(200, [] { platform::prepareSound(); });
    return app.exec();
}
