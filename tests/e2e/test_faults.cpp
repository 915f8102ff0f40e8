// The whole program against faults of its surroundings: a destination disk
// that fills up during a copy, the disc taken away in the middle of a session,
// catalogue files of random bytes or of no bytes, and a huge description.
// Commands are given with real clicks on the main screen; dialogs are answered
// from a timer.
#include "dialogs/frmCD.h"
#include "dialogs/frmHDD.h"
#include "mainscreen.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>


namespace {

// The texts of the labels of a window (the information dialog's message).
QString labelTexts(QWidget *w)
{
    QStringList texts;
    for (QLabel *label : w->findChildren<QLabel *>())
        if (!label->text().isEmpty())
            texts << label->text();
    return texts.join(QLatin1Char('\n'));
}

// The information dialog's message, or empty when the dialog is something else.
QString informationText(QWidget *w)
{
    auto *cd = ui::qt::formOf<frmCD>(w);
    return cd ? textOf(cd->lblInstruction) : QString();
}
} // namespace

class TestFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<Recorder> rec;
    std::unique_ptr<MainScreen> screen;
    frmGames *games = nullptr;
    QString mounted;

    void click(const ui::Control *c) { screen->click(c); }
    void selectRow(int row) { screen->clickRow(row); }

    // Answers the copy chooser with Save (a click on its Save button) and
    // closes any other modal dialog, keeping the messages it saw.
    QStringList messages;
    std::unique_ptr<DialogAnswerer> answerCopy()
    {
        return std::make_unique<DialogAnswerer>(
            [this](QWidget *w) {
                if (w->windowTitle().startsWith(QStringLiteral("Save '"))) {
                    QWidget *save = w->childAt(218, 33);
                    QVERIFY(save);
                    QTest::mouseClick(save, Qt::LeftButton, {}, save->rect().center());
                    return;
                }
                messages << (informationText(w).isEmpty() ? labelTexts(w) : informationText(w));
                w->close();
            },
            4);
    }

    // The modeless information dialog still on the screen, if any.
    QString modelessMessage() const
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *cd = ui::qt::formOf<frmCD>(w); cd && w->isVisible())
                return textOf(cd->lblInstruction);
        return {};
    }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        rec = std::make_unique<Recorder>();
        messages.clear();
        screen = std::make_unique<MainScreen>();
        QVERIFY(screen->exposed());
        games = &screen->games;
    }

    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != screen->window() && w->isVisible())
                w->close();
        screen.reset();
        games = nullptr;
        rec.reset();
        if (!mounted.isEmpty()) {
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), mounted});
            mounted.clear();
        }
        disc.reset();
    }

    // A copy onto a disk that fills up: the file that does not fit is not
    // left half-written, the others are copied whole, nothing else is
    // written, and the message says that the copy is incomplete.
    void copyOntoFullDisk()
    {
        const QString small = disc->tmp.filePath(QStringLiteral("small"));
        QDir().mkpath(small);
        if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                        QStringLiteral("size=192k"), QStringLiteral("tmpfs"), small})
            != 0)
            QSKIP("cannot mount a small tmpfs here (needs root)");
        mounted = small;
        // The small disk is drive C: and holds the program folder.
        QDir(small).mkpath(QStringLiteral("MENU"));
        DiscFixture::setDrives(QStringLiteral("C=%1;D=%2").arg(small, disc->disc()));
        DiscFixture::writeFile(small + QStringLiteral("/MENU/QAR4.PAL"), gameRecord(QStringLiteral("Big Game"),
                                                                                  QStringLiteral("BIG"), QStringLiteral("BIG.EXE")));
        disc->addGame(QStringLiteral("Arcade"), QStringLiteral("BIG"), QStringLiteral("BIG.EXE"));
        const QString game = disc->disc(QStringLiteral("ARCADE/BIG"));
        DiscFixture::writeFile(game + QStringLiteral("/A.TXT"), QByteArray(20000, 'a'));
        DiscFixture::writeFile(game + QStringLiteral("/B.DAT"), QByteArray(400000, 'b'));
        DiscFixture::writeFile(game + QStringLiteral("/C.TXT"), QByteArray(20000, 'c'));

        click(games->lblArcade);
        selectRow(0);
        QCOMPARE(modMain::gGameName, std::string("Big Game"));
        {
            const auto answerer = answerCopy();
            click(games->lblCopyHDD);
        }
        const QString message = modelessMessage() + messages.join(QLatin1Char('\n'));
        QVERIFY2(message.contains(QStringLiteral("incomplete")), qPrintable(message));

        const QStringList expected{QStringLiteral("ARCADE/BIG/A.TXT"), QStringLiteral("ARCADE/BIG/BIG.EXE"),
                                   QStringLiteral("ARCADE/BIG/C.TXT"), QStringLiteral("ARCADE/BIG/QAR.TXT"),
                                   QStringLiteral("MENU/QAR4.PAL")};
        QCOMPARE(entriesBelow(small, QDir::Files | QDir::Hidden | QDir::System), expected);
        for (const QString &name : {QStringLiteral("A.TXT"), QStringLiteral("BIG.EXE"), QStringLiteral("C.TXT"),
                                    QStringLiteral("QAR.TXT")})
            QCOMPARE(fileContents(small + QStringLiteral("/ARCADE/BIG/") + name), fileContents(game + QLatin1Char('/') + name));
        QVERIFY(!ui::hourglassShown());
    }

    // The disc's folder disappears in the middle of a session: every command
    // answers as it does without a disc, and the program carries on.
    void discTakenAway()
    {
        disc->addGame(QStringLiteral("Arcade"), QStringLiteral("ZAP"), QStringLiteral("ZAP.EXE"));
        disc->addGame(QStringLiteral("Arcade"), QStringLiteral("TWO"), QStringLiteral("TWO.EXE"));
        disc->addGame(QStringLiteral("Arcade"), QStringLiteral("HARD"), QStringLiteral("HARD.EXE"));
        disc->writeCatalogue(QStringLiteral("Arcade"),
                             {gameRecord(QStringLiteral("Zapper"), QStringLiteral("ZAP"), QStringLiteral("ZAP.EXE"), QStringLiteral("-w")),
                              gameRecord(QStringLiteral("Second"), QStringLiteral("TWO"), QStringLiteral("TWO.EXE")),
                              gameRecord(QStringLiteral("Hard Disk Game"), QStringLiteral("HARD"), QStringLiteral("HARD.EXE"), {},
                                         QStringLiteral("1"))});
        click(games->lblArcade);
        selectRow(0);
        QVERIFY(screen->description().startsWith(QStringLiteral("About the game.")));

        QVERIFY(QDir().rename(disc->disc(), disc->tmp.filePath(QStringLiteral("away"))));

        // Another game: the pane reports the missing description.
        selectRow(1);
        QCOMPARE(screen->description(), kNoDescription);
        QCOMPARE(modMain::gGameName, std::string("Second"));

        // Run: the disc request, no game started, the pointer back to normal.
        {
            const auto answerer = answerCopy();
            click(games->lblRun);
        }
        QCOMPARE(messages, QStringList{kDiscRequest});
        QVERIFY(rec->shellCalls.isEmpty());
        QVERIFY(!ui::hourglassShown());

        // View: nothing at all but the click sound.
        messages.clear();
        rec->sounds.clear();
        {
            const auto answerer = answerCopy();
            click(games->lblView);
            QTest::qWait(50);
        }
        QVERIFY(messages.isEmpty());
        QVERIFY(rec->shellCalls.isEmpty());
        QCOMPARE(rec->count(kClick), 1);

        // A hard-disk game without a copy: its notice; its OK copies nothing
        // (the folders it creates stay empty) and the shell reports the
        // missing program.
        messages.clear();
        selectRow(2);
        QCOMPARE(modMain::gGameHddFlag, std::string("1"));
        bool noticeShown = false;
        {
            DialogAnswerer answer([&](QWidget *w) {
                if (auto *hdd = ui::qt::formOf<frmHDD>(w)) {
                    noticeShown = true;
                    QTest::mouseClick(widgetOf(hdd->lblOk), Qt::LeftButton);
                    return;
                }
                w->close();
            });
            rec->shellResult = 2;
            click(games->lblRun);
        }
        QVERIFY(noticeShown);
        QCOMPARE(rec->shellCalls.size(), 1);
        QCOMPARE(rec->shellCalls[0].file, QStringLiteral("C:\\MENU\\ARCADE\\HARD\\HARD.EXE"));
        QCOMPARE(entriesBelow(disc->programFolder(QStringLiteral("ARCADE")), QDir::Files | QDir::Hidden | QDir::System), QStringList{});

        // Listing still works: the catalogues are in the program folder.
        click(games->lblBoard);
        click(games->lblArcade);
        QCOMPARE(screen->list()->count(), 3);

        // Help does not need the disc.
        rec->shellCalls.clear();
        rec->shellResult = 42;
        click(games->lblHelp);
        QCOMPARE(rec->shellCalls.size(), 1);
        QCOMPARE(rec->shellCalls[0].file, QStringLiteral("C:\\MENU\\GLIMMERA.HLP"));

        // Copy: the disc request, no chooser.
        messages.clear();
        selectRow(0);
        {
            const auto answerer = answerCopy();
            click(games->lblCopyHDD);
        }
        QCOMPARE(messages, QStringList{kDiscRequest});
        QVERIFY(!ui::hourglassShown());
    }

    // Catalogue files that are not what they should be: the list shows one
    // entry per whole record, every entry can be selected without harm, and
    // a game started from such a record stays inside the disc's game folder.
    void oddCatalogues_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("entries");
        QByteArray random(69 * 60 + 23, '\0');
        QRandomGenerator generator(20240611);
        for (char &c : random)
            c = char(generator.bounded(256));
        QTest::newRow("random bytes") << random << 60;
        QTest::newRow("0 bytes") << QByteArray() << 0;
    }
    void oddCatalogues()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, entries);
        DiscFixture::writeFile(disc->programFolder(QStringLiteral("QAR4.PAL")), bytes);
        click(games->lblArcade);
        QVERIFY(shown(games->imgArcadeIndent));
        QCOMPARE(modMain::gGameCategory, std::string("Arcade"));
        QCOMPARE(screen->list()->count(), entries);

        rec->shellResult = 2;
        {
            DialogAnswerer closeAll([](QWidget *w) { w->close(); }, 1000);
            for (int row = 0; row < entries; ++row) {
                DiscFixture::clearSelection();
                selectRow(row);
                if (!modMain::gGameName.empty())
                    QCOMPARE(QString::fromStdString(modMain::gGameName), screen->list()->item(row)->text());
                QVERIFY(!ui::hourglassShown());
                click(games->lblRun);
                click(games->lblView);
            }
        }
        for (const Recorder::ShellCall &call : rec->shellCalls) {
            QVERIFY2(call.file.startsWith(QStringLiteral("D:\\ARCADE\\")) || call.file.startsWith(QStringLiteral("C:\\MENU\\ARCADE\\")),
                     qPrintable(call.file));
            QVERIFY2(!call.file.contains(QStringLiteral("..")), qPrintable(call.file));
        }
        if (entries == 0) {
            DialogAnswerer keep([this](QWidget *w) { messages << informationText(w); w->close(); });
            click(games->lblRun);
            QCOMPARE(messages, QStringList{kSelectToRun});
        }
    }

    // A description of 20 MB is shown whole, from its first line, in
    // reasonable time, and the pointer comes back.
    void hugeDescription()
    {
        QByteArray text;
        text.reserve(20 * 1024 * 1024 + 100);
        int lines = 0;
        while (text.size() < 20 * 1024 * 1024) {
            ++lines;
            text += "Line " + QByteArray::number(lines) + ": a very long description, caf\xE9 and more text to fill it.\r\n";
        }
        disc->addGame(QStringLiteral("Arcade"), QStringLiteral("HUGE"), QStringLiteral("HUGE.EXE"), text);
        disc->writeCatalogue(QStringLiteral("Arcade"), {gameRecord(QStringLiteral("Huge"), QStringLiteral("HUGE"), QStringLiteral("HUGE.EXE"))});
        click(games->lblArcade);
        QElapsedTimer timer;
        timer.start();
        selectRow(0);
        const qint64 ms = timer.elapsed();
        QVERIFY2(ms < 30000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        const QString shown = screen->description();
        QVERIFY(shown.startsWith(QStringLiteral("Line 1: a very long description, caf\u00e9")));
        QVERIFY(shown.trimmed().endsWith(QStringLiteral("Line %1: a very long description, caf\u00e9 and more text to fill it.").arg(lines)));
        QCOMPARE(screen->pane()->verticalScrollBar()->value(), 0);
        QVERIFY(!ui::hourglassShown());
    }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
