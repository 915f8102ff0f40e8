// The menu as the benchmarks start it: the program's own start-up, then
//   start  prints "painted" when the main screen has been painted and ends;
//   list   lists the arcade category from the catalogue on drive Q: (the
//          click sound from there loads the sound player, as the program's
//          first click would) and prints "peak <kB>" once the filled list
//          has been painted.
#include "mainscreen/frmGames.h"
#include "platform/shell.h"
#include "probe.h"
#include "startup/modMain.h"
#include "ui/panes.h"
#include "ui/window.h"

#include <QListWidget>
#include <QTimer>

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? argv[1] : "start";
    ui::FontWarmUp fonts;
    QApplication app(argc, argv);
    fonts.applicationReady();
    QApplication::setApplicationName(QStringLiteral("Quorvia"));
    probe::FirstPaint painted([&](QWidget *) {
        if (mode == "start") {
            probe::report("painted");
            std::_Exit(0);
        }
        frmGames &games = ui::form<frmGames>();
        modMain::gAppPath = QStringLiteral("Q:\\");
        games.lblArcade_Click();
        games.repaint();
        QCoreApplication::processEvents();
        const QByteArray line = "peak " + QByteArray::number(qlonglong(probe::peakMemoryKb())) + " "
                                + QByteArray::number(games.lstGameListing->count());
        probe::report(line.constData());
        std::_Exit(0);
    });
    if (!modMain::Main())
        return 1;
    QTimer::singleShot(200, [] { platform::prepareSound(); });
    return app.exec();
}
