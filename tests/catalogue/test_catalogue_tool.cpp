// The catalogue tool for disc authors, run as a process.
#include "catalogue_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <string_view>

using fixture::record;

namespace {

bool writeFile(const QString &path, std::string_view bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run runTool(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(QUORVIA_CATALOGUE_TOOL), arguments);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCatalogueTool : public QObject {
    Q_OBJECT

    QTemporaryDir mDir;

private slots:
    void initTestCase() { QVERIFY(mDir.isValid()); }

    void helpDescribesEveryCommand()
    {
        const Run run = runTool({QStringLiteral("--help")});
        QCOMPARE(run.status, 0);
        for (const char *word : {"build OUT.PAL", "dump FILE.PAL", "check PROGRAM_FOLDER DISC_FOLDER", "unsafe",
                                 "Windows-1252", "line number"})
            QVERIFY2(run.out.contains(QLatin1String(word)), word);
    }

    void buildThenDumpGivesTheRowsBack()
    {
        const QByteArray rows = "Chess Master\tCHESS\tCHESS.EXE\t-w\t0\n"
                                "Café Racer\tRACER\tBIN\\RACE.EXE\t\t1\n"
                                "\tBLANK\t\t\t\n"
                                "Price: 5 €, “quoted”\tEURO\tE.EXE\t/A /B /C\t \n"
                                "The longest name that fits: 36 byte\tABCDEFGH\tABCDEFGH.EXE\t123456789012\tY\n";
        const QString path = mDir.filePath(QStringLiteral("ROUND.PAL"));
        const Run build = runTool({QStringLiteral("build"), path}, rows);
        QCOMPARE(build.status, 0);
        QCOMPARE(readAll(path).size(), 5 * 69);
        QCOMPARE(readAll(path).mid(69 + 3, 1), QByteArray("\xE9"));

        const Run dump = runTool({QStringLiteral("dump"), path});
        QCOMPARE(dump.status, 0);
        QCOMPARE(dump.err, QString());
        // The flag of a space is read back as an empty flag.
        QCOMPARE(dump.out, QString::fromUtf8(rows).replace(u"\t \n"_qs, u"\t\n"_qs));
    }

    void buildRefusesAndWritesNothing_data()
    {
        QTest::addColumn<QByteArray>("row");
        QTest::addColumn<QString>("field");  // what the refusal begins with

        QTest::newRow("name too wide") << QByteArray("A name of thirty-seven bytes, one over\tGAME\tGO.EXE\t\t") << u"name"_qs;
        QTest::newRow("folder too wide") << QByteArray("Game\tNINECHARS\tGO.EXE\t\t") << u"folder"_qs;
        QTest::newRow("program too wide") << QByteArray("Game\tGAME\tTHIRTEENS.EXE\t\t") << u"program"_qs;
        QTest::newRow("parameters too wide") << QByteArray("Game\tGAME\tGO.EXE\t-a -b -c -d -\t") << u"parameters"_qs;
        QTest::newRow("flag too wide") << QByteArray("Game\tGAME\tGO.EXE\t\t10") << u"flag"_qs;
        QTest::newRow("e acute wide in the field") << QByteArray("Game\tÉÉÉÉÉÉÉÉÉ\tGO.EXE\t\t") << u"folder"_qs;
        QTest::newRow("character not in Windows-1252") << QByteArray("Game 中\tGAME\tGO.EXE\t\t") << u"name"_qs;
        QTest::newRow("not UTF-8") << QByteArray("Game \xff\tGAME\tGO.EXE\t\t") << u"name"_qs;
        QTest::newRow("folder ..") << QByteArray("Game\t..\tGO.EXE\t\t") << u"folder"_qs;
        QTest::newRow("folder reaching up") << QByteArray("Game\t..\\..\\..\tGO.EXE\t\t") << u"folder"_qs;
        QTest::newRow("folder with colon") << QByteArray("Game\tC:\tGO.EXE\t\t") << u"folder"_qs;
        QTest::newRow("folder blank") << QByteArray("Game\t\tGO.EXE\t\t") << u"folder"_qs;
        QTest::newRow("folder of spaces") << QByteArray("Game\t   \tGO.EXE\t\t") << u"folder"_qs;
        QTest::newRow("folder of dots and spaces") << QByteArray("Game\t. ..\tGO.EXE\t\t") << u"folder"_qs;
        QTest::newRow("folder cut to nothing by a zero byte")
            << QByteArray("Game\t\0GAME\tGO.EXE\t\t", 19) << u"folder"_qs;
        QTest::newRow("program from the root") << QByteArray("Game\tGAME\t\\GO.EXE\t\t") << u"program"_qs;
        QTest::newRow("program in the parent") << QByteArray("Game\tGAME\tBIN\\..\\..\\X\t\t") << u"program"_qs;
        QTest::newRow("four fields") << QByteArray("Game\tGAME\tGO.EXE\t") << u"4 tab-separated fields"_qs;
    }

    void buildRefusesAndWritesNothing()
    {
        QFETCH(QByteArray, row);
        QFETCH(QString, field);

        const QString path = mDir.filePath(QStringLiteral("REFUSED.PAL"));
        QVERIFY(writeFile(path, "earlier"));
        const QByteArray input = "Good\tGOOD\tGO.EXE\t\t\n\nAlso good\tGOOD2\tGO.EXE\t\t1\n" + row + "\nLast\tLAST\tGO.EXE\t\t\n";
        const Run run = runTool({QStringLiteral("build"), path}, input);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.startsWith(u"line 4: "_qs + field), qPrintable(run.err));
        QCOMPARE(run.err.count(u"line "_qs), 1);
        QCOMPARE(readAll(path), QByteArray("earlier"));
    }

    void buildRefusesRecordsPastTheLastReadable()
    {
        QByteArray rows;
        for (int n = 1; n <= 32768; ++n)
            rows += "Game " + QByteArray::number(n) + "\tGAME\tGO.EXE\t\t\n";
        const QString path = mDir.filePath(QStringLiteral("BIG.PAL"));
        const Run run = runTool({QStringLiteral("build"), path}, rows);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.startsWith(u"line 32768: "_qs), qPrintable(run.err));
        QVERIFY(!QFile::exists(path));
    }

    void dumpWarnsOfATrailingFragment()
    {
        const QString path = mDir.filePath(QStringLiteral("FRAGMENT.PAL"));
        QVERIFY(writeFile(path, record("One") + record("Two") + "12345"));
        const Run run = runTool({QStringLiteral("dump"), path});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, u"One\tGAME\tGO.EXE\t\t\nTwo\tGAME\tGO.EXE\t\t\n"_qs);
        QVERIFY2(run.err.contains(u"warning: 5 byte(s) at the end"_qs), qPrintable(run.err));
    }

    void dumpOfAMissingFileFails()
    {
        const Run run = runTool({QStringLiteral("dump"), mDir.filePath(QStringLiteral("NONE.PAL"))});
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
    }

    // A program folder with all eight catalogues and a disc whose names are
    // in lower case, as a disc mounted on Linux often shows them.
    void checkFindsNothingWrongOnAGoodDisc()
    {
        QTemporaryDir program, disc;
        for (int i = 1; i <= 8; ++i)
            QVERIFY(writeFile(program.filePath(QStringLiteral("QAR%1.PAL").arg(i)), {}));
        QVERIFY(writeFile(program.filePath(QStringLiteral("QAR5.PAL")),
                                   record("Chess", "CHESS", "CHESS.EXE") + record("Go", "GO", "BIN\\GO.EXE")));
        QVERIFY(writeFile(disc.filePath(QStringLiteral("board/chess/qar.txt")), "Chess\r\n"));
        QVERIFY(writeFile(disc.filePath(QStringLiteral("board/chess/chess.exe")), "MZ"));
        QVERIFY(writeFile(disc.filePath(QStringLiteral("board/Go/qar.TXT")), "Go\r\n"));
        QVERIFY(writeFile(disc.filePath(QStringLiteral("board/Go/Bin/GO.exe")), "MZ"));

        const Run run = runTool({QStringLiteral("check"), program.path(), disc.path()});
        QCOMPARE(run.out, QString());
        QCOMPARE(run.status, 0);
    }

    void checkReportsEachProblem()
    {
        QTemporaryDir program, disc;
        for (int i = 1; i <= 7; ++i)
            QVERIFY(writeFile(program.filePath(QStringLiteral("QAR%1.PAL").arg(i)), {}));
        QVERIFY(writeFile(program.filePath(QStringLiteral("QAR3.PAL")),
                                   record("Complete", "QUEST", "QUEST.EXE") + record("No description", "NODESC", "X.EXE")
                                       + record("No program", "NOPROG", "X.EXE") + record("No folder", "GONE", "X.EXE")
                                       + record("Climbs", "..\\..\\..", "X.EXE") + record("Rooted", "QUEST", "\\X.EXE")
                                       + record("Blank", "", "X.EXE") + record("Dots", "...", "X.EXE")
                                       + record("Zero", std::string("\0QUEST", 6), "X.EXE") + "ab"));
        for (const char *file : {"ADV/QUEST/QAR.TXT", "ADV/QUEST/QUEST.EXE", "ADV/NODESC/X.EXE", "ADV/NOPROG/QAR.TXT"})
            QVERIFY(writeFile(disc.filePath(QString::fromLatin1(file)), "x"));
        // A folder where the program should be is not a program.
        QVERIFY(QDir(disc.path()).mkpath(QStringLiteral("ADV/NOPROG/X.EXE")));

        const Run run = runTool({QStringLiteral("check"), program.path(), disc.path()});
        QCOMPARE(run.status, 1);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        const QStringList expected = {
            u"QAR3.PAL: 2 byte(s) at the end do not make a whole record"_qs,
            u"QAR3.PAL record 2 (No description): description file ADV\\NODESC\\QAR.TXT missing"_qs,
            u"QAR3.PAL record 3 (No program): program ADV\\NOPROG\\X.EXE missing"_qs,
            u"QAR3.PAL record 4 (No folder): game folder ADV\\GONE missing"_qs,
            u"QAR3.PAL record 5 (Climbs): unsafe folder \"..\\..\\..\""_qs,
            u"QAR3.PAL record 6 (Rooted): unsafe program \"\\X.EXE\""_qs,
            u"QAR3.PAL record 7 (Blank): unsafe folder \"\""_qs,
            u"QAR3.PAL record 8 (Dots): unsafe folder \"...\""_qs,
            u"QAR3.PAL record 9 (Zero): unsafe folder \"\\0QUEST\""_qs,
            u"QAR8.PAL: missing from the program folder"_qs,
        };
        QCOMPARE(lines, expected);
    }
};

QTEST_GUILESS_MAIN(TestCatalogueTool)
#include "test_catalogue_tool.moc"
