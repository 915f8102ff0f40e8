// The menu as the benchmarks start it: the program's own start-up, then
//   start  prints "painted" when the main screen has been painted and ends;
//   list   lists the arcade category from the catalogue on drive Q: (the
//          click sound from there loads the sound player, as the program's
//          first click would) and prints "peak <kB>" once the filled list
//          has been painted.
#include "mainscreen/frmGames.h"
#include "probe.h"
#include "startup/modMain.h"
#include "ui/qt/access.h"
#include "ui/window.h"

#include <QListWidget>

#include <memory>

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? argv[1] : "start";
    std::unique_ptr<probe::FirstPaint> painted;
    return ui::run(argc, argv, [&] {
        // The application exists now: watch for the first paint, then start
        // as the program does.
        painted = std::make_unique<probe::FirstPaint>([&](QWidget *) {
            if (mode == "start") {
                probe::report("painted");
                std::_Exit(0);
            }
            frmGames &games = ui::form<frmGames>();
            modMain::gAppPath = "Q:\\";
            games.lblArcade_Click();
            QWidget *window = ui::qt::widget(games);
            window->repaint();
            QCoreApplication::processEvents();
            const QByteArray line = "peak " + QByteArray::number(qlonglong(probe::peakMemoryKb())) + " "
                                    + QByteArray::number(ui::qt::widget<QListWidget>(games.lstGameListing)->count());
            probe::report(line.constData());
            std::_Exit(0);
        });
        return modMain::Main();
    });
}
