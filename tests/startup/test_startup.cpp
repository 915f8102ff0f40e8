// Start-up: the disc search, the program's folder, and the shell failure box.
#include "dialogs/frmCD.h"
#include "mainscreen.h"

#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QScreen>

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        MainScreen::unloadAll();
        qunsetenv("QUORVIA_DRIVES");
        platform::reloadDrives();
    }

    void discSearch_data()
    {
        // Each drive: "LETTER:kind", kind = marker | lower | folder | empty | missing.
        QTest::addColumn<QStringList>("drives");
        QTest::addColumn<QString>("cdRoot");  // empty: not found
        QTest::newRow("marker on D") << QStringList{"D:marker"} << "D:\\";
        QTest::newRow("markers on E and G") << QStringList{"D:empty", "E:marker", "G:marker"} << "E:\\";
        QTest::newRow("marker on Z, the last letter") << QStringList{"D:empty", "Z:marker"} << "Z:\\";
        QTest::newRow("marker only on C") << QStringList{"C:marker", "D:empty"} << "";
        QTest::newRow("a folder named like the marker") << QStringList{"D:folder"} << "";
        QTest::newRow("lower-case name on the disc") << QStringList{"F:lower"} << "F:\\";
        QTest::newRow("drives before the disc are missing")
            << QStringList{"D:missing", "E:missing", "H:marker"} << "H:\\";
    }
    void discSearch()
    {
        QFETCH(QStringList, drives);
        QFETCH(QString, cdRoot);
        QTemporaryDir tmp;
        QStringList table;
        for (const QString &d : drives) {
            const QString letter = d.left(1);
            const QString kind = d.mid(2);
            const QString folder = tmp.path() + QLatin1Char('/') + letter;
            if (kind != QLatin1String("missing"))
                QDir().mkpath(folder);
            if (kind == QLatin1String("marker"))
                DiscFixture::writeFile(folder + QStringLiteral("/PLAXOID.QAR"), "");
            if (kind == QLatin1String("lower"))
                DiscFixture::writeFile(folder + QStringLiteral("/plaxoid.qar"), "");
            if (kind == QLatin1String("folder"))
                QDir().mkpath(folder + QStringLiteral("/PLAXOID.QAR"));
            table << letter + QLatin1Char('=') + folder;
        }
        DiscFixture::setDrives(table.join(QLatin1Char(';')));
        Recorder rec;
        modMain::gCdRoot = "stale";
        modMain::gGameName = "stale";

        QString requestTitle, requestText;
        QRect requestFrame;
        DialogAnswerer answered([&](QWidget *w) {
            auto *cd = ui::qt::formOf<frmCD>(w);
            QVERIFY(cd);
            requestTitle = w->windowTitle();
            requestText = textOf(cd->lblInstruction);
            requestFrame = w->frameGeometry();
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, centreOf(cd->lblOk2));
        });
        const bool shown = modMain::Main();

        QCOMPARE(modMain::gGameName, std::string());
        QCOMPARE(modMain::gCdRoot, cdRoot.toStdString());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        if (cdRoot.isEmpty()) {
            QVERIFY(!shown);
            QCOMPARE(answered.answered(), 1);
            QCOMPARE(requestTitle, kInformationTitle);
            QCOMPARE(requestText, kDiscRequest);
            QCOMPARE(requestFrame.topLeft(), centredIn(screen, requestFrame.size()));
            QCOMPARE(rec.ends, 1);
            QVERIFY(!ui::loadedForm<frmGames>());
        } else {
            QVERIFY(shown);
            QCOMPARE(answered.answered(), 0);
            QCOMPARE(rec.ends, 0);
            frmGames *games = ui::loadedForm<frmGames>();
            QVERIFY(games && widgetOf(*games)->isVisible());
            QWidget *window = widgetOf(*games);
            QCOMPARE(window->windowTitle(), QStringLiteral("Quorvia"));
            QCOMPARE(window->size(), QSize(640, 480));
            QCOMPARE(window->frameGeometry().topLeft(), centredIn(screen, window->frameGeometry().size()));
            QVERIFY(widgetOf<QListWidget>(games->lstGameListing)->count() == 0);
        }
    }

    void appPath_data()
    {
        QTest::addColumn<bool>("atRoot");
        QTest::newRow("in a folder") << false;
        QTest::newRow("at a drive root") << true;
    }
    void appPath()
    {
        QFETCH(bool, atRoot);
        // The folder the build put this test program in, and a current folder
        // elsewhere, so that only the program's own folder gives the answer.
        const QDir exeDir(QFileInfo(QStringLiteral(QUORVIA_TEST_PROGRAM_DIR)).canonicalFilePath());
        QVERIFY(exeDir.exists(QFileInfo(QCoreApplication::arguments().constFirst()).fileName()));
        QDir parent = exeDir;
        parent.cdUp();
        QTemporaryDir elsewhere;
        const QString current = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        DiscFixture::setDrives(QStringLiteral("E=%1").arg(atRoot ? exeDir.path() : parent.path()));
        Recorder rec;
        DialogAnswerer answered([](QWidget *w) { w->close(); });
        modMain::Main();
        QDir::setCurrent(current);
        QCOMPARE(answered.answered(), 1);
        QCOMPARE(QString::fromStdString(modMain::gAppPath),
                 atRoot ? QStringLiteral("E:\\\\") : QStringLiteral("E:\\%1\\").arg(exeDir.dirName()));
        // Closing the request in any way ends the program.
        QCOMPARE(rec.ends, 1);
    }

    // Drives that leave the program's own folder without a letter (Z listed
    // as another folder, no drive holding the program): the program stops
    // at once with one line naming the variable, instead of a menu with no
    // catalogues and no sounds.
    void drivesWithoutTheProgramFolder()
    {
        QTemporaryDir tmp;
        QVERIFY(QDir().mkpath(tmp.filePath(QStringLiteral("root"))));
        DiscFixture::writeFile(tmp.filePath(QStringLiteral("disc/PLAXOID.QAR")), "");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QUORVIA_DRIVES"), QStringLiteral("D=%1;Z=%2")
                                                                  .arg(tmp.filePath(QStringLiteral("disc")),
                                                                       tmp.filePath(QStringLiteral("root"))));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUORVIA_PROGRAM), QStringList());
        const bool ended = program.waitForFinished(10000);
        if (!ended) {
            program.kill();
            program.waitForFinished();
        }
        QVERIFY2(ended, "the program is still running");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 2);
        QCOMPARE(program.readAllStandardOutput(), QByteArray());
        const QStringList lines =
            QString::fromLocal8Bit(program.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].contains(QLatin1String("QUORVIA_DRIVES")), qPrintable(lines[0]));
        QVERIFY2(lines[0].contains(QFileInfo(QStringLiteral(QUORVIA_PROGRAM)).absolutePath()), qPrintable(lines[0]));
    }

    void launchProgram_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");  // empty: no box
        QTest::newRow("missing file") << 2 << "File not found";
        QTest::newRow("missing folder") << 3 << "Path not found";
        QTest::newRow("access denied") << 5 << "Access denied";
        QTest::newRow("no association") << 31 << "No association for file extension";
        QTest::newRow("DLL not found") << 32 << "DLL not found";
        QTest::newRow("out of resources") << 0 << "Unknown error";
        QTest::newRow("unlisted code") << 4 << "Unknown error";
        QTest::newRow("success") << 33 << "";
    }
    void launchProgram()
    {
        QFETCH(int, code);
        QFETCH(QString, message);
        Recorder rec;
        rec.shellResult = code;
        modMain::launchProgram(nullptr, "D:\\BOARD\\CHESS\\CHESS.EXE", "-w");
        QCOMPARE(rec.shellCalls.size(), 1);
        QCOMPARE(rec.shellCalls[0].file, QStringLiteral("D:\\BOARD\\CHESS\\CHESS.EXE"));
        QCOMPARE(rec.shellCalls[0].parameters, QStringLiteral("-w"));
        if (message.isEmpty()) {
            QVERIFY(rec.boxes.isEmpty());
        } else {
            QCOMPARE(rec.boxes.size(), 1);
            QCOMPARE(rec.boxes[0].first, message);
            QCOMPARE(rec.boxes[0].second, kShellFailureTitle);
        }
    }

    void playSoundFromProgramFolder()
    {
        Recorder rec;
        std::string played;
        platform::testing::setPlayWave([&](const std::string &p) { played = p; });
        modMain::gAppPath = "E:\\\\";
        modMain::playSound(ui::kRolloverSound);
        QCOMPARE(QString::fromStdString(played), QStringLiteral("E:\\\\ROLLOVER.WAV"));
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
