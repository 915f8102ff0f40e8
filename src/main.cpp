#include "platform/fonts.h"
#include "startup/modMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    platform::prepareFonts();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvia"));
    if (!modMain::Main())
        return 0;
    return app.exec();
}
