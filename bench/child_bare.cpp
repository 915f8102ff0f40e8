// The least Qt program that shows the same as the menu, for the benchmarks:
//   start       an empty 640 x 480 window; prints "painted" when it has been
//               painted and ends;
//   list FILE   a bare list widget filled with the names of the catalogue
//               file FILE; prints "peak <kB>" once it has been painted.
#include "probe.h"

#include <QListWidget>

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? argv[1] : "start";
    QApplication app(argc, argv);
    if (mode == "start") {
        QWidget window;
        window.resize(640, 480);
        probe::FirstPaint painted([](QWidget *) {
            probe::report("painted");
            std::_Exit(0);
        });
        window.show();
        return app.exec();
    }

    QStringList names;
    {
        QFile file(QString::fromLocal8Bit(argc > 2 ? argv[2] : ""));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray data = file.readAll();
        for (qsizetype n = 0; n + 69 <= data.size(); n += 69)
            names << QString::fromLatin1(data.mid(n, 36)).trimmed();
    }
    QListWidget list;
    list.resize(195, 242);
    list.addItems(names);
    probe::FirstPaint painted([&](QWidget *) {
        list.repaint();
        QCoreApplication::processEvents();
        const QByteArray line = "peak " + QByteArray::number(qlonglong(probe::peakMemoryKb())) + " "
                                + QByteArray::number(list.count());
        probe::report(line.constData());
        std::_Exit(0);
    });
    list.show();
    return app.exec();
}
