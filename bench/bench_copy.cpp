// copyFiles against cp: a 200 MB game folder of 40 files, copied by each in
// turn within the same run; prints the ratio of the median times.
#include "common.h"
#include "copy/frmSave.h"
#include "dialogs/frmCD.h"
#include "platform/drives.h"
#include "startup/modMain.h"
#include "ui/window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int kFiles = 40;
constexpr qint64 kFileSize = 5 * 1024 * 1024;  // 40 x 5 MB = 200 MB
constexpr int kRounds = 5;
} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        std::fprintf(stderr, "copyFiles: no temporary folder\n");
        return 1;
    }
    const QString hdd = tmp.path() + QStringLiteral("/c");
    const QString source = tmp.path() + QStringLiteral("/d/BOARD/BENCH");
    QDir().mkpath(hdd);
    QDir().mkpath(source);
    qputenv("QUORVIA_DRIVES", QStringLiteral("C=%1;D=%2/d").arg(hdd, tmp.path()).toUtf8());
    platform::reloadDrives();
    modMain::gGameName = QStringLiteral("Bench");

    // Incompressible content, so that no layer can take a shortcut.
    QStringList names;
    QByteArray block(1024 * 1024, Qt::Uninitialized);
    for (int i = 0; i < kFiles; ++i) {
        const QString name = QStringLiteral("FILE%1.DAT").arg(i, 2, 10, QLatin1Char('0'));
        QFile f(source + QLatin1Char('/') + name);
        if (!f.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "copyFiles: cannot write the test folder\n");
            return 1;
        }
        for (qint64 written = 0; written < kFileSize; written += block.size()) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
            f.write(block);
        }
        names << source + QLatin1Char('/') + name;
    }

    std::vector<double> cpTimes, copyTimes;
    // Round 0 warms the caches and is not counted.
    for (int round = 0; round <= kRounds; ++round) {
        const QString cpTarget = hdd + QStringLiteral("/CP%1").arg(round);
        QDir().mkpath(cpTarget);
        QElapsedTimer timer;
        timer.start();
        if (QProcess::execute(QStringLiteral("cp"), QStringList(names) << cpTarget) != 0) {
            std::fprintf(stderr, "copyFiles: cp failed\n");
            return 1;
        }
        const double cpTime = double(timer.nsecsElapsed());

        const QString target = QStringLiteral("OUT%1").arg(round);
        QDir().mkpath(hdd + QLatin1Char('/') + target);
        frmSave &save = ui::form<frmSave>();
        save.filGame->setFolder(QStringLiteral("D:\\BOARD\\BENCH"));
        timer.restart();
        save.copyFiles(QStringLiteral("D:\\BOARD\\BENCH"), QStringLiteral("C:\\") + target);
        const double copyTime = double(timer.nsecsElapsed());
        ui::unload(&save);
        if (auto *cd = ui::loadedForm<frmCD>())
            ui::unload(cd);
        QCoreApplication::processEvents();

        if (QDir(hdd + QLatin1Char('/') + target).entryList(QDir::Files).size() != kFiles) {
            std::fprintf(stderr, "copyFiles: not every file was copied\n");
            return 1;
        }
        QDir(cpTarget).removeRecursively();
        QDir(hdd + QLatin1Char('/') + target).removeRecursively();
        if (round > 0) {
            cpTimes.push_back(cpTime);
            copyTimes.push_back(copyTime);
        }
    }

    const double ratio = bench::median(copyTimes) / bench::median(cpTimes);
    std::printf("copyFiles: ratio %.2f (goal < 1.1)\n", ratio);
    qunsetenv("QUORVIA_DRIVES");
    return 0;
}
