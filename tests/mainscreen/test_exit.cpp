// Help, and leaving the main screen through the exit dialog.
#include "dialogs/frmCD.h"
#include "dialogs/frmExit.h"
#include "fixture.h"
#include "mainscreen/frmGames.h"
#include "ui/window.h"

#include <QCloseEvent>
#include <QSignalSpy>

class TestExit : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    QPointer<frmGames> games;
    QWindow *win = nullptr;

    void click(QWindow *w, QWidget *control) { QTest::mouseClick(w, Qt::LeftButton, {}, control->geometry().center()); }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        games = &ui::form<frmGames>();
        games->move(57, 33);
        games->show();
        QVERIFY(QTest::qWaitForWindowExposed(games));
        win = games->windowHandle();
    }
    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                ui::unload(w);
        QTest::qWait(0);
        disc.reset();
    }

    void hoverHelpThenExit()
    {
        Recorder rec;
        QTest::mouseMove(win, games->lblHelp->geometry().center());
        QCOMPARE(games->lblStatus->text(), QStringLiteral("Click here for help on using this screen."));
        QTest::mouseMove(win, games->lblExit->geometry().center());
        QCOMPARE(games->lblStatus->text(), QStringLiteral("Click here to quit this application."));
        QVERIFY(games->imgExitLight->isVisible() && !games->imgHelpLight->isVisible());
        QCOMPARE(rec.sounds, (QStringList{"ROLLOVER.WAV", "ROLLOVER.WAV"}));
    }

    void helpOpensTheHelpFile()
    {
        DiscFixture::writeFile(disc->programFolder(QStringLiteral("GLIMMERA.HLP")), "help");
        QDir::setCurrent(disc->disc());
        Recorder rec;
        bool hourglassDuringCall = false;
        platform::testing::setShellOpen([&](std::uintptr_t, const std::string &file, const std::string &params) {
            hourglassDuringCall = ui::hourglassShown();
            rec.shellCalls.append({QString::fromStdString(file), QString::fromStdString(params),
                                   QString::fromStdString(platform::currentDirectory())});
            return 42;
        });
        click(win, games->lblHelp);
        QCOMPARE(rec.shellCalls.size(), 1);
        QCOMPARE(rec.shellCalls[0].file, QStringLiteral("C:\\MENU\\GLIMMERA.HLP"));
        QCOMPARE(rec.shellCalls[0].parameters, QString());
        QCOMPARE(rec.shellCalls[0].currentFolder, QStringLiteral("C:\\MENU"));
        QVERIFY(hourglassDuringCall);
        QVERIFY(!ui::hourglassShown());
        QCOMPARE(rec.sounds.last(), QStringLiteral("BUTCLICK.WAV"));
        QVERIFY(rec.boxes.isEmpty());
    }

    void helpFileMissing()
    {
        Recorder rec;
        platform::testing::setShellOpen({});  // the real shell
        bool hourglassDuringBox = false;
        rec.onBox = [&] { hourglassDuringBox = ui::hourglassShown(); };
        click(win, games->lblHelp);
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].first, QStringLiteral("File not found"));
        QCOMPARE(rec.boxes[0].second, QStringLiteral("Program Execution Failed"));
        QVERIFY(hourglassDuringBox);
        QVERIFY(!ui::hourglassShown());
        QVERIFY(games && games->isVisible());
        QCOMPARE(rec.ends, 0);
    }

    void closingShowsExitDialog_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Exit button") << "Exit";
        QTest::newRow("close button") << "close";
        QTest::newRow("native window destroyed from outside") << "destroy";
    }
    void closingShowsExitDialog()
    {
        QFETCH(QString, how);
        const bool byExitButton = how == QLatin1String("Exit");
        Recorder rec;
        games->move(101, 77);
        QRect frame, mainFrame;
        bool mainVisibleBehind = false;
        int soundsBefore = -1;
        DialogAnswerer answer([&](QWidget *w) {
            auto *exitDialog = qobject_cast<frmExit *>(w);
            QVERIFY(exitDialog);
            frame = exitDialog->frameGeometry();
            mainFrame = games->frameGeometry();
            mainVisibleBehind = games->isVisible();
            soundsBefore = rec.count(QStringLiteral("BUTCLICK.WAV"));
            QTest::mouseMove(exitDialog->windowHandle(), exitDialog->lblExit->geometry().center());
            click(exitDialog->windowHandle(), exitDialog->lblExit);
        });
        if (byExitButton)
            click(win, games->lblExit);
        else if (how == QLatin1String("close"))
            games->close();
        else
            destroyFromOutside(games);
        QTRY_COMPARE(answer.answered(), 1);
        QCOMPARE(mainFrame.topLeft(), QPoint(101, 77));
        QCOMPARE(frame.topLeft(), centredIn(mainFrame, frame.size()));
        QVERIFY(mainVisibleBehind);
        // The close button plays no click sound; the Exit button does.
        QCOMPARE(soundsBefore, byExitButton ? 1 : 0);
        QCOMPARE(rec.ends, 1);
        QCOMPARE(rec.sounds.last(), QStringLiteral("BUTCLICK.WAV"));
    }

    void uninstallOpensPanelThenEnds_data()
    {
        QTest::addColumn<int>("shellResult");
        QTest::addColumn<QString>("box");
        QTest::newRow("panel opens") << 42 << "";
        QTest::newRow("shell refuses") << 2 << "File not found";
    }
    void uninstallOpensPanelThenEnds()
    {
        QFETCH(int, shellResult);
        QFETCH(QString, box);
        Recorder rec;
        rec.shellResult = shellResult;
        int endsAtBox = -1;
        rec.onBox = [&] { endsAtBox = rec.ends; };
        DialogAnswerer answer([&](QWidget *w) {
            auto *exitDialog = qobject_cast<frmExit *>(w);
            click(exitDialog->windowHandle(), exitDialog->lblUninstall);
        });
        games->close();
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(rec.shellCalls.size(), 1);
        QCOMPARE(rec.shellCalls[0].file, QStringLiteral("CONTROL.EXE"));
        QCOMPARE(rec.shellCalls[0].parameters, QStringLiteral("APPWIZ.CPL"));
        QCOMPARE(rec.boxes.size(), box.isEmpty() ? 0 : 1);
        if (!box.isEmpty()) {
            QCOMPARE(rec.boxes[0].first, box);
            QCOMPARE(endsAtBox, 0);  // the end comes after the box
        }
        QCOMPARE(rec.ends, 1);
    }

    void exitDialogHover()
    {
        Recorder rec;
        DialogAnswerer answer([&](QWidget *w) {
            auto *d = qobject_cast<frmExit *>(w);
            QWindow *dw = d->windowHandle();
            QTest::mouseMove(dw, d->lblExit->geometry().center());
            QTest::mouseMove(dw, d->lblUninstall->geometry().center());
            QTest::mouseMove(dw, d->lblUninstall->geometry().center() + QPoint(4, 2));
            QVERIFY(d->imgUninstallLight->isVisible() && !d->imgExitLight->isVisible());
            QTest::mouseMove(dw, QPoint(5, 5));
            QVERIFY(!d->imgUninstallLight->isVisible() && !d->imgExitLight->isVisible());
            QTest::mouseMove(dw, d->lblUninstall->geometry().center());
            QCOMPARE(rec.count(QStringLiteral("ROLLOVER.WAV")), 3);
            // Pressing and releasing on Exit ends the program (no pressed look to show).
            QTest::mousePress(dw, Qt::LeftButton, {}, d->lblExit->geometry().center());
            QTest::mouseRelease(dw, Qt::LeftButton, {}, d->lblExit->geometry().center());
        });
        games->close();
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(rec.ends, 1);
    }

    void closingExitDialogOtherwiseEndsProgram_data()
    {
        QTest::addColumn<bool>("copyMessageOpen");
        QTest::addColumn<bool>("destroyed");  // its native window, from outside
        QTest::newRow("no other window") << false << false;
        QTest::newRow("copy-finished message open") << true << false;
        QTest::newRow("native window destroyed") << false << true;
        QTest::newRow("native window destroyed, copy-finished message open") << true << true;
    }
    void closingExitDialogOtherwiseEndsProgram()
    {
        // Runs the program's own event loop: it must end by itself once no
        // window is left (a watchdog ends it with 99 otherwise).
        QFETCH(bool, copyMessageOpen);
        QFETCH(bool, destroyed);
        Recorder rec;
        if (copyMessageOpen)
            showInformationDialog(QStringLiteral("Copying of game 'Chess' complete."), Placement::MainScreen,
                                  Mode::Modeless);
        bool messageOpenAfterMainClosed = false;
        DialogAnswerer answer([&](QWidget *w) {
            if (destroyed)
                destroyFromOutside(w);
            else
                w->close();
            if (!copyMessageOpen)
                return;
            QTimer::singleShot(300, [&] {
                frmCD *cd = ui::loadedForm<frmCD>();
                messageOpenAfterMainClosed = cd && cd->isVisible() && !games;
                if (cd)
                    click(cd->windowHandle(), cd->lblOk2);
            });
        });
        QTimer::singleShot(0, games, [this] { games->close(); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(answer.answered(), 1);
        QVERIFY(!games);
        QCOMPARE(rec.ends, 0);
        QCOMPARE(messageOpenAfterMainClosed, copyMessageOpen);
    }

    void secondCloseRequestIsIgnored()
    {
        Recorder rec;
        int shown = 0;
        bool mainStayed = false;
        DialogAnswerer answer(
            [&](QWidget *w) {
                ++shown;
                // Repeats while closing, from a button and as the window
                // system delivers one: no second exit dialog.
                games->close();
                QCloseEvent repeat;
                QCoreApplication::sendEvent(games, &repeat);
                // The repeats neither closed nor unloaded the main screen.
                mainStayed = games && games->isVisible() && ui::loadedForm<frmGames>() == games;
                QTest::qWait(20);
                w->close();
            },
            2);
        games->close();
        QTest::qWait(50);
        QCOMPARE(shown, 1);
        QVERIFY(mainStayed);
    }
};

QTEST_MAIN(TestExit)
#include "test_exit.moc"
