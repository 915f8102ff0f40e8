// The Run command of the main screen: games started from the disc or from
// their copy on the hard disk, the hard-disk notice, the messages and the
// pointer. Games are chosen with real clicks on a catalogue of the fixture.
#include "dialogs/frmCD.h"
#include "dialogs/frmHDD.h"
#include "mainscreen.h"

#include <QDialog>
#include <QListWidget>
#include <QScreen>

namespace {

// A stand-in game: a script that writes its physical current folder and its
// arguments, one per line in brackets, to a record file.
QByteArray recordingGame(const QString &record)
{
    return QStringLiteral("#!/bin/sh\n"
                          "{ pwd -P; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > '%1.part'\n"
                          "mv '%1.part' '%1'\n")
        .arg(record)
        .toUtf8();
}

QStringList readRecord(const QString &record)
{
    QFile f(record);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

class TestRun : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<Recorder> rec;
    std::unique_ptr<MainScreen> screen;
    frmGames *games = nullptr;
    QWindow *win = nullptr;
    bool hourglassAtShell = false;

    void click(const ui::Control *c) { screen->click(c); }

    // Lists the category and clicks its first game.
    void choose(const QString &key, const ui::HotArea *category, const QByteArray &record)
    {
        disc->writeCatalogue(key, {record});
        click(category);
        screen->clickRow(0);
        QVERIFY(!modMain::gGameName.empty());
        rec->sounds.clear();
    }

    // Where a frame of the given outer size lies centred over the main
    // screen's frame.
    QPoint centredOverMain(QSize outer) const { return centredIn(screen->frame(), outer); }

    // The recorder's shell, noting also whether the hourglass was shown.
    void watchShell()
    {
        platform::testing::setShellOpen([this](std::uintptr_t, const std::string &file, const std::string &params) {
            hourglassAtShell = ui::hourglassShown();
            return rec->shell(file, params);
        });
    }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        rec = std::make_unique<Recorder>();
        watchShell();
        hourglassAtShell = false;
        screen = std::make_unique<MainScreen>(QPoint(60, 45));
        QVERIFY(screen->exposed());
        games = &screen->games;
        win = screen->win();
    }
    void cleanup()
    {
        screen.reset();
        rec.reset();
        disc.reset();
    }

    // Any flag but "1" runs the game from its folder on the disc, with
    // exactly its parameters, the game's folder current and the hourglass
    // shown while the shell is asked; folder and program names keep their case.
    void discRun_data()
    {
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<QString>("flag");
        QTest::newRow("no parameters, empty flag") << "" << "";
        QTest::newRow("-w, flag 0") << "-w" << "0";
        QTest::newRow("flag Y") << "-w" << "Y";
    }
    void discRun()
    {
        QFETCH(QString, parameters);
        QFETCH(QString, flag);
        disc->addGame(QStringLiteral("Adv"), QStringLiteral("Cave"), QStringLiteral("Cave.exe"));
        choose(QStringLiteral("Adv"), games->lblAdv, gameRecord("Cave", "Cave", "Cave.exe", parameters, flag));

        DialogAnswerer unexpected([](QWidget *w) { w->close(); });
        click(games->lblRun);
        QCOMPARE(unexpected.answered(), 0);
        QCOMPARE(rec->count(kClick), 1);
        QCOMPARE(rec->shellCalls.size(), 1);
        QCOMPARE(rec->shellCalls[0].file, QStringLiteral("D:\\ADV\\Cave\\Cave.exe"));
        QCOMPARE(rec->shellCalls[0].parameters, parameters);
        QCOMPARE(rec->shellCalls[0].currentFolder, QStringLiteral("D:\\ADV\\Cave"));
        QVERIFY(hourglassAtShell);
        QVERIFY(!ui::hourglassShown());
        QVERIFY(rec->boxes.isEmpty());
    }

    // A game the shell cannot start: only the shell's own message, shown
    // while the hourglass is still up; no disc request follows.
    void shellRefusalIsTheOnlyMessage()
    {
        disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QString());
        choose(QStringLiteral("Board"), games->lblBoard, gameRecord("Chess", "CHESS", "CHESS.EXE"));
        rec->shellResult = 2;
        bool hourglassAtBox = false;
        rec->onBox = [&] { hourglassAtBox = ui::hourglassShown(); };
        DialogAnswerer unexpected([](QWidget *w) { w->close(); });
        click(games->lblRun);
        QCOMPARE(unexpected.answered(), 0);
        QCOMPARE(rec->boxes, (QList<QPair<QString, QString>>{{"File not found", kShellFailureTitle}}));
        QVERIFY(hourglassAtBox);
        QVERIFY(!ui::hourglassShown());
    }

    // Nothing selected: the message over the main screen, after the click.
    void nothingSelected_data()
    {
        QTest::addColumn<bool>("categoryChosen");
        QTest::newRow("no category") << false;
        QTest::newRow("a category but no game") << true;
    }
    void nothingSelected()
    {
        QFETCH(bool, categoryChosen);
        if (categoryChosen) {
            disc->writeCatalogue(QStringLiteral("Cards"), {gameRecord("Solo", "SOLO", "S.EXE")});
            click(games->lblCards);
            rec->sounds.clear();
        }
        screen->window()->move(120, 7);  // the message follows the main screen
        QString text;
        QRect frame;
        QStringList soundsBefore;
        DialogAnswerer answer([&](QWidget *w) {
            auto *cd = ui::qt::formOf<frmCD>(w);
            QVERIFY(cd);
            text = textOf(cd->lblInstruction);
            frame = w->frameGeometry();
            soundsBefore = rec->sounds;
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, centreOf(cd->lblOk2));
        });
        click(games->lblRun);
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(text, kSelectToRun);
        QCOMPARE(frame.topLeft(), centredOverMain(frame.size()));
        QCOMPARE(soundsBefore.count(kClick), 1);
        QCOMPARE(soundsBefore.last(), kClick);
        QVERIFY(rec->shellCalls.isEmpty());
    }

    // The disc taken out after start-up: the disc request centred on the
    // screen, with the default pointer already back.
    void discRemoved()
    {
        disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
        choose(QStringLiteral("Board"), games->lblBoard, gameRecord("Chess", "CHESS", "CHESS.EXE"));
        QVERIFY(QDir(disc->disc()).removeRecursively());

        QString text;
        QRect frame;
        bool hourglassAtDialog = true;
        DialogAnswerer answer([&](QWidget *w) {
            auto *cd = ui::qt::formOf<frmCD>(w);
            QVERIFY(cd);
            text = textOf(cd->lblInstruction);
            frame = w->frameGeometry();
            hourglassAtDialog = ui::hourglassShown();
            w->close();
        });
        click(games->lblRun);
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(text, kDiscRequest);
        const QRect screenArea = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(frame.topLeft(), centredIn(screenArea, frame.size()));
        QVERIFY(!hourglassAtDialog);
        QVERIFY(rec->shellCalls.isEmpty());
    }

    // A game flagged "1" with a complete copy starts from it at once: no
    // notice, the copy current, no hourglass. Also when the program runs from
    // the disc's root, where the "copy" is the game's folder on the disc.
    void flaggedGameWithACopy_data()
    {
        QTest::addColumn<QString>("appPath");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("folder");
        QTest::newRow("copy below the program") << "C:\\MENU\\" << "C:\\MENU\\BOARD\\CHESS\\CHESS.EXE" << "C:\\MENU\\BOARD\\CHESS";
        QTest::newRow("program at the disc's root") << "D:\\\\" << "D:\\\\BOARD\\CHESS\\CHESS.EXE" << "D:\\BOARD\\CHESS";
    }
    void flaggedGameWithACopy()
    {
        QFETCH(QString, appPath);
        QFETCH(QString, program);
        QFETCH(QString, folder);
        disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
        DiscFixture::writeFile(disc->programFolder(QStringLiteral("BOARD/CHESS/QAR.TXT")), "copied");
        choose(QStringLiteral("Board"), games->lblBoard, gameRecord("Chess", "CHESS", "CHESS.EXE", "-w", "1"));
        modMain::gAppPath = appPath.toStdString();

        DialogAnswerer unexpected([](QWidget *w) { w->close(); });
        click(games->lblRun);
        QCOMPARE(unexpected.answered(), 0);
        QCOMPARE(rec->shellCalls.size(), 1);
        QCOMPARE(rec->shellCalls[0].file, program);
        QCOMPARE(rec->shellCalls[0].parameters, QStringLiteral("-w"));
        QCOMPARE(rec->shellCalls[0].currentFolder, folder);
        QVERIFY(!hourglassAtShell);
        QCOMPARE(rec->count(kClick), 1);
    }

    // A copy folder without the description file is no copy: the notice comes
    // up centred over the main screen; Cancel ends the command.
    void copyWithoutDescriptionBringsTheNotice()
    {
        disc->addGame(QStringLiteral("Board"), QStringLiteral("CHESS"), QStringLiteral("CHESS.EXE"));
        DiscFixture::writeFile(disc->programFolder(QStringLiteral("BOARD/CHESS/CHESS.EXE")), "partial");
        choose(QStringLiteral("Board"), games->lblBoard, gameRecord("Chess", "CHESS", "CHESS.EXE", "", "1"));
        screen->window()->move(90, 110);

        QRect frame;
        bool modal = false;
        DialogAnswerer answer([&](QWidget *w) {
            auto *hdd = ui::qt::formOf<frmHDD>(w);
            QVERIFY(hdd);
            frame = w->frameGeometry();
            modal = w->isModal() && !w->parentWidget();
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, centreOf(hdd->lblCancel));
        });
        click(games->lblRun);
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(frame.topLeft(), centredOverMain(frame.size()));
        QVERIFY(modal);
        QVERIFY(rec->shellCalls.isEmpty());
        QCOMPARE(rec->count(kClick), 2);
        QVERIFY(!QFileInfo::exists(disc->programFolder(QStringLiteral("BOARD/CHESS/QAR.TXT"))));
    }

    // Through the real shell, with a stand-in game that records how it was
    // started: a disc game, then a hard-disk game copied by the notice's OK
    // and started from the copy, and on the next Run started at once.
    void realGamesThroughTheShell()
    {
        platform::testing::setShellOpen({});
        const QString record = disc->tmp.filePath(QStringLiteral("record.txt"));
        disc->addGame(QStringLiteral("Arcade"), QStringLiteral("Pong"), QStringLiteral("pong.sh"));
        DiscFixture::writeFile(disc->disc(QStringLiteral("ARCADE/Pong/pong.sh")), recordingGame(record));
        disc->addGame(QStringLiteral("Strategy"), QStringLiteral("Siege"), QStringLiteral("siege.sh"));
        DiscFixture::writeFile(disc->disc(QStringLiteral("STRATEGY/Siege/siege.sh")), recordingGame(record));
        DiscFixture::writeFile(disc->disc(QStringLiteral("STRATEGY/Siege/MAPS/ONE.MAP")), "map");

        choose(QStringLiteral("Arcade"), games->lblArcade, gameRecord("Pong", "Pong", "pong.sh", "-w"));
        click(games->lblRun);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
        QCOMPARE(readRecord(record),
                 (QStringList{QFileInfo(disc->disc(QStringLiteral("ARCADE/Pong"))).canonicalFilePath(), "[-w]"}));
        QVERIFY(QFile::remove(record));

        choose(QStringLiteral("Strategy"), games->lblStrategy, gameRecord("Siege", "Siege", "siege.sh", "-w fast", "1"));
        DialogAnswerer ok([](QWidget *w) {
            auto *hdd = ui::qt::formOf<frmHDD>(w);
            QVERIFY(hdd);
            QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, centreOf(hdd->lblOk));
        });
        click(games->lblRun);
        QCOMPARE(ok.answered(), 1);
        const QString copy = disc->programFolder(QStringLiteral("STRATEGY/Siege"));
        QVERIFY(QFileInfo::exists(copy + QStringLiteral("/MAPS/ONE.MAP")));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
        const QStringList expected{QFileInfo(copy).canonicalFilePath(), "[-w]", "[fast]"};
        QCOMPARE(readRecord(record), expected);
        QVERIFY(QFile::remove(record));
        QVERIFY(rec->boxes.isEmpty());

        DialogAnswerer unexpected([](QWidget *w) { w->close(); });
        click(games->lblRun);
        QCOMPARE(unexpected.answered(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
        QCOMPARE(readRecord(record), expected);
    }
};

QTEST_MAIN(TestRun)
#include "test_run.moc"
