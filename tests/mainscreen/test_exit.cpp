// Help, and leaving the main screen through the exit dialog.
#include "dialogs/frmCD.h"
#include "dialogs/frmExit.h"
#include "mainscreen.h"

#include <QCloseEvent>
#include <QSignalSpy>

class TestExit : public QObject {
    Q_OBJECT

    std::unique_ptr<DiscFixture> disc;
    std::unique_ptr<MainScreen> screen;
    frmGames *games = nullptr;
    // The main screen's window; null once it has been destroyed.
    QPointer<QWidget> gamesWindow;
    QWindow *win = nullptr;

    void click(QWindow *w, const ui::Control *control) { QTest::mouseClick(w, Qt::LeftButton, {}, centreOf(control)); }

private slots:
    void init()
    {
        disc = std::make_unique<DiscFixture>();
        screen = std::make_unique<MainScreen>(QPoint(57, 33));
        QVERIFY(screen->exposed());
        games = &screen->games;
        gamesWindow = screen->window();
        win = screen->win();
    }
    void cleanup()
    {
        screen.reset();
        disc.reset();
    }

    void hoverHelpThenExit()
    {
        Recorder rec;
        QTest::mouseMove(win, centreOf(games->lblHelp));
        QCOMPARE(screen->status(), QStringLiteral("Click here for help on using this screen."));
        QTest::mouseMove(win, centreOf(games->lblExit));
        QCOMPARE(screen->status(), QStringLiteral("Click here to quit this application."));
        QVERIFY(shown(games->imgExitLight) && !shown(games->imgHelpLight));
        QCOMPARE(rec.sounds, (QStringList{kRoll, kRoll}));
    }

    void helpOpensTheHelpFile()
    {
        DiscFixture::writeFile(disc->programFolder(QStringLiteral("GLIMMERA.HLP")), "help");
        QDir::setCurrent(disc->disc());
        Recorder rec;
        bool hourglassDuringCall = false;
        platform::testing::setShellOpen([&](std::uintptr_t, const std::string &file, const std::string &params) {
            hourglassDuringCall = ui::hourglassShown();
            rec.shell(file, params);
            return 42;
        });
        click(win, games->lblHelp);
        QCOMPARE(rec.shellCalls.size(), 1);
        QCOMPARE(rec.shellCalls[0].file, QStringLiteral("C:\\MENU\\GLIMMERA.HLP"));
        QCOMPARE(rec.shellCalls[0].parameters, QString());
        QCOMPARE(rec.shellCalls[0].currentFolder, QStringLiteral("C:\\MENU"));
        QVERIFY(hourglassDuringCall);
        QVERIFY(!ui::hourglassShown());
        QCOMPARE(rec.sounds.last(), kClick);
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
        QCOMPARE(rec.boxes[0].second, kShellFailureTitle);
        QVERIFY(hourglassDuringBox);
        QVERIFY(!ui::hourglassShown());
        QVERIFY(gamesWindow && gamesWindow->isVisible());
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
        gamesWindow->move(101, 77);
        QRect frame, mainFrame;
        bool mainVisibleBehind = false;
        int soundsBefore = -1;
        DialogAnswerer answer([&](QWidget *w) {
            auto *exitDialog = ui::qt::formOf<frmExit>(w);
            QVERIFY(exitDialog);
            frame = w->frameGeometry();
            mainFrame = gamesWindow->frameGeometry();
            mainVisibleBehind = gamesWindow->isVisible();
            soundsBefore = rec.count(kClick);
            QTest::mouseMove(w->windowHandle(), centreOf(exitDialog->lblExit));
            click(w->windowHandle(), exitDialog->lblExit);
        });
        if (byExitButton)
            click(win, games->lblExit);
        else if (how == QLatin1String("close"))
            gamesWindow->close();
        else
            destroyFromOutside(gamesWindow);
        QTRY_COMPARE(answer.answered(), 1);
        QCOMPARE(mainFrame.topLeft(), QPoint(101, 77));
        QCOMPARE(frame.topLeft(), centredIn(mainFrame, frame.size()));
        QVERIFY(mainVisibleBehind);
        // The close button plays no click sound; the Exit button does.
        QCOMPARE(soundsBefore, byExitButton ? 1 : 0);
        QCOMPARE(rec.ends, 1);
        QCOMPARE(rec.sounds.last(), kClick);
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
            auto *exitDialog = ui::qt::formOf<frmExit>(w);
            QVERIFY(exitDialog);
            click(w->windowHandle(), exitDialog->lblUninstall);
        });
        gamesWindow->close();
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
            auto *d = ui::qt::formOf<frmExit>(w);
            QVERIFY(d);
            QWindow *dw = w->windowHandle();
            QTest::mouseMove(dw, centreOf(d->lblExit));
            QTest::mouseMove(dw, centreOf(d->lblUninstall));
            QTest::mouseMove(dw, centreOf(d->lblUninstall) + QPoint(4, 2));
            QVERIFY(shown(d->imgUninstallLight) && !shown(d->imgExitLight));
            QTest::mouseMove(dw, QPoint(5, 5));
            QVERIFY(!shown(d->imgUninstallLight) && !shown(d->imgExitLight));
            QTest::mouseMove(dw, centreOf(d->lblUninstall));
            QCOMPARE(rec.count(kRoll), 3);
            // Pressing and releasing on Exit ends the program (no pressed look to show).
            QTest::mousePress(dw, Qt::LeftButton, {}, centreOf(d->lblExit));
            QTest::mouseRelease(dw, Qt::LeftButton, {}, centreOf(d->lblExit));
        });
        gamesWindow->close();
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
            showInformationDialog("Copying of game 'Chess' complete.", Placement::MainScreen, Mode::Modeless);
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
                messageOpenAfterMainClosed = cd && widgetOf(*cd)->isVisible() && !gamesWindow;
                if (cd)
                    click(windowOf(*cd), cd->lblOk2);
            });
        });
        QTimer::singleShot(0, gamesWindow, [this] { gamesWindow->close(); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(answer.answered(), 1);
        QVERIFY(!gamesWindow);
        QCOMPARE(rec.ends, 0);
        QCOMPARE(messageOpenAfterMainClosed, copyMessageOpen);
    }

    void secondCloseRequestIsIgnored()
    {
        Recorder rec;
        int shownDialogs = 0;
        bool mainStayed = false;
        DialogAnswerer answer(
            [&](QWidget *w) {
                ++shownDialogs;
                // Repeats while closing, from a button and as the window
                // system delivers one: no second exit dialog.
                games->close();
                QCloseEvent repeat;
                QCoreApplication::sendEvent(gamesWindow, &repeat);
                // The repeats neither closed nor unloaded the main screen.
                mainStayed = gamesWindow && gamesWindow->isVisible() && ui::loadedForm<frmGames>() == games;
                QTest::qWait(20);
                w->close();
            },
            2);
        gamesWindow->close();
        QTest::qWait(50);
        QCOMPARE(shownDialogs, 1);
        QVERIFY(mainStayed);
    }
};

QTEST_MAIN(TestExit)
#include "test_exit.moc"
