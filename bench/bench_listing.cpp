// A category click on a full catalogue (32,767 records) until the list is
// filled, against a bare list widget filled with the same names read in one
// call: the least work that shows the same list.
#include "common.h"
#include "mainscreen/frmGames.h"
#include "platform/drives.h"
#include "platform/testing.h"
#include "startup/modMain.h"
#include "ui/qt/access.h"
#include "ui/window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::kRecords;

void fillBaseline(QListWidget &list, const QString &hostPath)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    QStringList names;
    names.reserve(data.size() / 69);
    for (qsizetype n = 0; n + 69 <= data.size(); n += 69) {
        const char *field = data.constData() + n;
        int begin = 0, end = 36;
        while (begin < end && field[begin] == ' ')
            ++begin;
        while (end > begin && field[end - 1] == ' ')
            --end;
        names.append(QString::fromLatin1(field + begin, end - begin));
    }
    list.clear();
    list.addItems(names);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString hostPath = dir.filePath(QStringLiteral("QAR4.PAL"));
    {
        QFile file(hostPath);
        const QByteArray data = bench::fullCatalogue();
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return 1;
    }
    qputenv("QUORVIA_DRIVES", "Q=" + dir.path().toUtf8());
    platform::reloadDrives();
    platform::testing::setPlayWave([](const std::string &) {});
    modMain::gAppPath = "Q:\\";

    frmGames &games = ui::form<frmGames>();
    games.showModeless();
    const QListWidget *shownList = ui::qt::widget<QListWidget>(games.lstGameListing);
    QListWidget bare;
    bare.setGeometry(0, 0, 195, 242);
    bare.show();
    QApplication::processEvents();

    constexpr int rounds = 21;
    std::vector<qint64> ours, least;
    QElapsedTimer timer;
    for (int round = 0; round < rounds + 2; ++round) {
        games.initialiseIndentButts();  // Arcade is no longer current: the click lists again
        timer.start();
        games.lblArcade_Click();
        const qint64 a = timer.nsecsElapsed();
        timer.start();
        fillBaseline(bare, hostPath);
        const qint64 b = timer.nsecsElapsed();
        if (shownList->count() != kRecords || bare.count() != kRecords) {
            std::fprintf(stderr, "the lists were not filled\n");
            return 1;
        }
        if (round >= 2) {
            ours.push_back(a);
            least.push_back(b);
        }
    }
    std::printf("category listing: ratio %.2f (goal < 1.5)\n", bench::median(ours) / bench::median(least));
    return 0;
}
