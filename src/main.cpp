#include "startup/modMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvia"));
    if (!modMain::Main())
        return 0;
    return app.exec();
}
