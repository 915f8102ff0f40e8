// Reading all names of a full catalogue file (32,767 records), against the
// least work that gives the same list: one read of the file and a trimmed
// Latin-1 string per name field.
#include "common.h"
#include "catalogue/catalogue.h"
#include "platform/drives.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray makeCatalogue()
{
    QByteArray data;
    data.reserve(catalogue::maxRecords * catalogue::recordSize);
    for (int n = 1; n <= catalogue::maxRecords; ++n) {
        // Names of varied length; one in sixteen has an accented letter.
        QByteArray name = "Game " + QByteArray::number(n);
        if (n % 16 == 0)
            name += " caf\xE9";
        if (n % 3 == 0)
            name += " - The Sequel";
        if (n % 5 == 0)
            name.prepend("  ");
        QByteArray record = name.leftJustified(36, ' ', true);
        record += QByteArray("GAME").leftJustified(8) + QByteArray("GO.EXE").leftJustified(12)
                  + QByteArray().leftJustified(12) + QByteArray("0");
        data += record;
    }
    return data;
}

QStringList baseline(const QString &hostPath)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    const qsizetype count = data.size() / catalogue::recordSize;
    QStringList names;
    names.reserve(count);
    for (qsizetype n = 0; n < count; ++n) {
        const char *field = data.constData() + n * catalogue::recordSize;
        int begin = 0;
        int end = 36;
        while (begin < end && field[begin] == ' ')
            ++begin;
        while (end > begin && field[end - 1] == ' ')
            --end;
        names.append(QString::fromLatin1(field + begin, end - begin));
    }
    return names;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString hostPath = dir.filePath(QStringLiteral("QAR1.PAL"));
    {
        QFile file(hostPath);
        const QByteArray data = makeCatalogue();
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(hostPath));
            return 1;
        }
    }
    qputenv("QUORVIA_DRIVES", "Q=" + dir.path().toUtf8());
    platform::reloadDrives();
    const QString dosPath = QStringLiteral("Q:\\QAR1.PAL");

    const std::optional<QStringList> names = catalogue::readNames(dosPath);
    if (!names || *names != baseline(hostPath) || names->size() != catalogue::maxRecords) {
        std::fprintf(stderr, "readNames does not give the baseline's list\n");
        return 1;
    }

    // Alternate the two in each round so that both see the same machine load.
    constexpr int rounds = 31;
    constexpr int reads = 5;
    std::vector<qint64> ours, least;
    qsizetype sink = 0;
    QElapsedTimer timer;
    for (int round = 0; round < rounds + 2; ++round) {
        timer.start();
        for (int i = 0; i < reads; ++i)
            sink += catalogue::readNames(dosPath)->size();
        const qint64 a = timer.nsecsElapsed();
        timer.start();
        for (int i = 0; i < reads; ++i)
            sink += baseline(hostPath).size();
        const qint64 b = timer.nsecsElapsed();
        if (round >= 2) {  // the first rounds warm the caches
            ours.push_back(a);
            least.push_back(b);
        }
    }
    if (sink != qsizetype(2) * (rounds + 2) * reads * catalogue::maxRecords)
        return 1;

    std::printf("catalogue names: ratio %.2f (goal < 1.5)\n", bench::median(ours) / bench::median(least));
    return 0;
}
