// The two copiers against cp, each in turn within the same run on the same
// source, into fresh folders; prints the median of the paired rounds' ratios.
//   bench_copy large   copyFiles of a 200 MB folder of 40 files, against cp
//   bench_copy files   copyFiles of 2,000 files of 1 to 64 KB, against cp
//   bench_copy notice  the hard-disk notice's copy of a game folder of 5,000
//                      files of 1 to 64 KB in 100 folders and 5 files of
//                      20 MB, from the OK click until the notice is unloaded,
//                      against cp -r
#include "common.h"
#include "copy/frmSave.h"
#include "dialogs/frmCD.h"
#include "dialogs/frmHDD.h"
#include "platform/drives.h"
#include "platform/testing.h"
#include "startup/modMain.h"
#include "ui/qt/access.h"
#include "ui/window.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRounds = 6;
constexpr qint64 kKiB = 1024, kMiB = 1024 * 1024;

struct Fail {
    const char *what;
};

// A file of incompressible content, so that no layer can take a shortcut.
void writeFile(const QString &path, qint64 size)
{
    static QByteArray block(kMiB, Qt::Uninitialized);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw Fail{"cannot write the test folder"};
    for (qint64 written = 0; written < size; written += block.size()) {
        const qint64 n = std::min<qint64>(block.size(), size - written);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(block.data()), int((n + 3) / 4));
        f.write(block.constData(), n);
    }
}

qint64 smallSize() { return kKiB * (1 + QRandomGenerator::global()->bounded(64)); }

// Reads every file below a folder once, so that the source lies in the page
// cache for both copiers alike.
void warm(const QString &folder)
{
    if (QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cat -- \"$0\"/* \"$0\"/*/* >/dev/null 2>&1; true"), folder}) != 0)
        throw Fail{"cannot read the test folder"};
}

double timeCommand(const QString &program, const QStringList &arguments)
{
    QElapsedTimer timer;
    timer.start();
    if (QProcess::execute(program, arguments) != 0)
        throw Fail{"cp failed"};
    return double(timer.nsecsElapsed());
}

int filesBelow(const QString &folder)
{
    int n = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++n;
    return n;
}

// copyFiles of the files of D:\BOARD\BENCH into a fresh folder of C:.
double timeCopyFiles(const QString &hdd, int round, int expected)
{
    const QString target = QStringLiteral("OUT%1").arg(round);
    QDir().mkpath(hdd + QLatin1Char('/') + target);
    frmSave &save = ui::form<frmSave>();
    save.filGame->setFolder("D:\\BOARD\\BENCH");
    QElapsedTimer timer;
    timer.start();
    save.copyFiles("D:\\BOARD\\BENCH", "C:\\" + target.toStdString());
    const double time = double(timer.nsecsElapsed());
    save.unload();
    if (auto *cd = ui::loadedForm<frmCD>())
        cd->unload();
    QCoreApplication::processEvents();
    if (filesBelow(hdd + QLatin1Char('/') + target) != expected)
        throw Fail{"not every file was copied"};
    QDir(hdd + QLatin1Char('/') + target).removeRecursively();
    return time;
}

// The notice shown modally, as Run shows it, and OK clicked: the copy goes
// below a fresh program folder; the game's start is recorded, not made.
double timeNotice(const QString &hdd, int round, int expected)
{
    const QString menu = QStringLiteral("MENU%1").arg(round);
    modMain::gAppPath = "C:\\" + menu.toStdString() + '\\';
    frmHDD &hdd_ = ui::form<frmHDD>();
    QWidget *window = ui::qt::widget(hdd_);
    QElapsedTimer timer;
    QTimer::singleShot(0, window, [&] {
        timer.start();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, ui::qt::widget(hdd_.lblOk)->geometry().center());
    });
    hdd_.showModal();
    const double time = double(timer.nsecsElapsed());
    QCoreApplication::processEvents();
    if (ui::loadedForm<frmHDD>())
        throw Fail{"the notice stayed"};
    if (filesBelow(hdd + QLatin1Char('/') + menu) != expected)
        throw Fail{"not every file was copied"};
    QDir(hdd + QLatin1Char('/') + menu).removeRecursively();
    return time;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("large");

    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        std::fprintf(stderr, "bench_copy: no temporary folder\n");
        return 1;
    }
    const QString hdd = tmp.path() + QStringLiteral("/c");
    const QString source = tmp.path() + QStringLiteral("/d/BOARD/BENCH");
    QDir().mkpath(hdd);
    QDir().mkpath(source);
    qputenv("QUORVIA_DRIVES", QStringLiteral("C=%1;D=%2/d").arg(hdd, tmp.path()).toUtf8());
    platform::reloadDrives();
    modMain::gGameName = "Bench";
    modMain::gGameCategory = "Board";
    modMain::gGameFolder = "BENCH";
    modMain::gGameProgram = "BENCH.EXE";
    modMain::gCdRoot = "D:\\";
    platform::testing::setShellOpen([](std::uintptr_t, const std::string &, const std::string &) { return 42; });
    platform::testing::setPlayWave([](const std::string &) {});

    try {
        QStringList files;  // the source files, for cp
        int expected = 0;
        const char *label = "";
        const char *goal = "";
        if (which == QLatin1String("large")) {
            for (int i = 0; i < 40; ++i) {
                files << source + QStringLiteral("/FILE%1.DAT").arg(i, 2, 10, QLatin1Char('0'));
                writeFile(files.last(), 5 * kMiB);
            }
            label = "copyFiles (200 MB in 40 files, against cp)";
            goal = "< 1.1";
        } else if (which == QLatin1String("files")) {
            for (int i = 0; i < 2000; ++i) {
                files << source + QStringLiteral("/F%1.DAT").arg(i, 4, 10, QLatin1Char('0'));
                writeFile(files.last(), smallSize());
            }
            label = "copyFiles (2,000 files of 1 to 64 KB, against cp)";
            goal = "<= 1.2";
        } else if (which == QLatin1String("notice")) {
            writeFile(source + QStringLiteral("/QAR.TXT"), 2 * kKiB);
            writeFile(source + QStringLiteral("/BENCH.EXE"), 20 * kMiB);
            for (int i = 0; i < 4; ++i)
                writeFile(source + QStringLiteral("/MOVIE%1.DAT").arg(i), 20 * kMiB);
            for (int d = 0; d < 100; ++d) {
                const QString folder = source + QStringLiteral("/DATA%1").arg(d, 3, 10, QLatin1Char('0'));
                QDir().mkpath(folder);
                for (int i = 0; i < 50; ++i)
                    writeFile(folder + QStringLiteral("/F%1.DAT").arg(i, 2, 10, QLatin1Char('0')), smallSize());
            }
            label = "hard-disk notice's copy (5,000 files of 1 to 64 KB in 100 folders and 5 of 20 MB, against cp -r)";
            goal = "<= 1.2";
        } else {
            std::fprintf(stderr, "usage: bench_copy large|files|notice\n");
            return 2;
        }
        warm(source);
        if (which != QLatin1String("notice"))
            expected = int(files.size());
        else
            expected = filesBelow(source);

        std::vector<double> ratios;
        double cpTotal = 0, ownTotal = 0;
        // Round 0 warms the caches and is not counted.
        for (int round = 0; round <= kRounds; ++round) {
            const QString cpTarget = hdd + QStringLiteral("/CP%1").arg(round);
            double cpTime = 0, ownTime = 0;
            const auto runCp = [&] {
                if (which == QLatin1String("notice")) {
                    cpTime = timeCommand(QStringLiteral("cp"), {QStringLiteral("-r"), source, cpTarget});
                } else {
                    QDir().mkpath(cpTarget);
                    cpTime = timeCommand(QStringLiteral("cp"), QStringList(files) << cpTarget);
                }
            };
            const auto runOwn = [&] {
                ownTime = which == QLatin1String("notice") ? timeNotice(hdd, round, expected)
                                                           : timeCopyFiles(hdd, round, expected);
            };
            // Each goes first in every other round, so that neither always
            // meets the other's writes still on their way to the disk.
            if (round % 2 == 0) {
                runCp();
                runOwn();
            } else {
                runOwn();
                runCp();
            }
            if (filesBelow(cpTarget) != expected)
                throw Fail{"cp did not copy every file"};
            QDir(cpTarget).removeRecursively();
            if (round > 0) {
                ratios.push_back(ownTime / cpTime);
                cpTotal += cpTime;
                ownTotal += ownTime;
            }
        }
        std::printf("%s: ratio %.2f (goal %s) [%.0f ms against %.0f ms]\n", label, bench::median(ratios), goal,
                    ownTotal / kRounds / 1e6, cpTotal / kRounds / 1e6);
    } catch (const Fail &f) {
        std::fprintf(stderr, "bench_copy %s: %s\n", qPrintable(which), f.what);
        return 1;
    }
    qunsetenv("QUORVIA_DRIVES");
    return 0;
}
