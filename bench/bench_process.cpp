// The benchmarks that start whole programs, each against the least Qt program
// that shows the same, run alternately in the same run:
//   bench_process start   from process start until the main screen has been
//                         painted, against an empty 640 x 480 window;
//   bench_process memory  peak memory with a category of 32,767 records
//                         listed, against a bare list widget of the same
//                         names;
//   bench_process wine MENU.EXE BARE.EXE
//                         the start-up of the Windows menu under Wine until
//                         its main screen has been painted, against the
//                         least Win32 program that shows an empty 640 x 480
//                         window, both started with `wine` in the prefix of
//                         the environment (WINEPREFIX), which has the disc
//                         (bench/run.sh maps it before the session starts:
//                         Wine's drive table takes no drive added later).
// The two programs started are bench_child_menu and bench_child_bare, beside
// this one (or the two given). Runs on the display of the environment
// (bench/run.sh starts Xvfb).
#include "common.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::kRecords;

QString beside(const char *name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

// Starts a program and returns the first line it prints and the time from the
// start until that line arrived, in ms; an empty line on failure.
std::pair<QByteArray, double> runUntilLine(const QString &program, const QStringList &args,
                                           const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    QByteArray line;
    while (!line.contains('\n') && process.waitForReadyRead(30000))
        line += process.readAllStandardOutput();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    process.waitForFinished(10000);
    if (!line.contains('\n')) {
        std::fprintf(stderr, "%s printed nothing: %s\n", qPrintable((QStringList{program} + args).join(QLatin1Char(' '))),
                     process.readAllStandardError().constData());
        return {};
    }
    return {line.left(line.indexOf('\n')), ms};
}

struct Command {
    QString program;
    QStringList arguments;
};

// Prints the median of paired rounds of the two programs' start-up until
// each has printed "painted", as the line NAME: ratio ... (GOAL).
int startUp(const Command &menuProgram, const Command &bareProgram, const QProcessEnvironment &env, int rounds,
            const char *name, const char *goal)
{
    // The two programs take turns, and each round's ratio compares runs made
    // moments apart: a shared machine's slow spells then touch both sides.
    std::vector<double> menu, bare, ratios;
    for (int round = 0; round < rounds + 2; ++round) {
        const auto [a, ta] = runUntilLine(menuProgram.program, menuProgram.arguments, env);
        const auto [b, tb] = runUntilLine(bareProgram.program, bareProgram.arguments, env);
        if (a != "painted" || b != "painted")
            return 1;
        if (round >= 2) {  // the first rounds warm the file cache
            menu.push_back(ta);
            bare.push_back(tb);
            ratios.push_back(ta / tb);
        }
    }
    std::printf("%s: ratio %.2f (%s)  [%.0f ms against %.0f ms]\n", name, bench::median(ratios), goal,
                bench::median(menu), bench::median(bare));
    return 0;
}


long peakOf(const QByteArray &line)
{
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || parts[0] != "peak" || parts[2].toInt() != kRecords) {
        std::fprintf(stderr, "unexpected report: %s\n", line.constData());
        return -1;
    }
    return parts[1].toLong();
}

int memory(QProcessEnvironment env, const QString &folder)
{
    const QString catalogueFile = folder + QStringLiteral("/q/QAR4.PAL");
    {
        QDir().mkpath(folder + QStringLiteral("/q"));
        QFile file(catalogueFile);
        const QByteArray data = bench::fullCatalogue();
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return 1;
    }
    // The click of the category loads the sound player, as in the program.
    const QString click = QCoreApplication::applicationDirPath() + QStringLiteral("/../BUTCLICK.WAV");
    if (!QFile::copy(click, folder + QStringLiteral("/q/BUTCLICK.WAV")))
        return 1;
    env.insert(QStringLiteral("QUORVIA_DRIVES"),
               env.value(QStringLiteral("QUORVIA_DRIVES")) + QStringLiteral(";Q=") + folder + QStringLiteral("/q"));
    std::vector<double> menu, bare;
    for (int round = 0; round < 3; ++round) {
        const long a = peakOf(runUntilLine(beside("bench_child_menu"), {QStringLiteral("list")}, env).first);
        const long b = peakOf(runUntilLine(beside("bench_child_bare"), {QStringLiteral("list"), catalogueFile}, env).first);
        if (a <= 0 || b <= 0)
            return 1;
        menu.push_back(double(a));
        bare.push_back(double(b));
    }
    std::printf("peak memory, 32,767 listed: ratio %.2f (goal < 1.3)  [%.0f MB against %.0f MB]\n",
                bench::median(menu) / bench::median(bare), bench::median(menu) / 1024, bench::median(bare) / 1024);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray what = argc > 1 ? argv[1] : "";
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("d")));
    QFile marker(dir.filePath(QStringLiteral("d/PLAXOID.QAR")));
    if (!marker.open(QIODevice::WriteOnly))
        return 1;
    marker.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUORVIA_DRIVES"), QStringLiteral("D=") + dir.filePath(QStringLiteral("d")));
    if (what == "start")
        return startUp({beside("bench_child_menu"), {QStringLiteral("start")}},
                       {beside("bench_child_bare"), {QStringLiteral("start")}}, env, 60, "start-up until painted",
                       "goal < 1.3");
    if (what == "memory")
        return memory(env, dir.path());
    if (what == "wine" && argc > 3) {
        const QString wine = QStringLiteral("wine");
        return startUp({wine, {QString::fromLocal8Bit(argv[2])}}, {wine, {QString::fromLocal8Bit(argv[3])}}, env, 30,
                       "start-up under Wine until painted", "goal <= 1.3");
    }
    std::fprintf(stderr, "Usage: bench_process start|memory|wine MENU.EXE BARE.EXE\n");
    return 2;
}
