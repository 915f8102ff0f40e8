// The information dialog: placement, modal and modeless use, the OK button.
#include "dialogs/frmCD.h"
#include "fixture.h"
#include "mainscreen/frmGames.h"
#include "ui/window.h"

#include <QLabel>
#include <QScreen>

class TestInformation : public QObject {
    Q_OBJECT

    static QPoint centreOf(QWidget *w) { return w->geometry().center(); }

private slots:
    void initTestCase() { modMain::gAppPath = QStringLiteral("C:\\MENU\\"); }

    void cleanup()
    {
        if (auto *cd = ui::loadedForm<frmCD>())
            ui::unload(cd);
        if (auto *games = ui::loadedForm<frmGames>())
            ui::unload(games);
        QTest::qWait(0);
    }

    void placement_data()
    {
        QTest::addColumn<bool>("overMain");
        QTest::newRow("centred on the screen") << false;
        QTest::newRow("centred over a moved main screen") << true;
    }
    void placement()
    {
        QFETCH(bool, overMain);
        Recorder rec;
        frmGames &games = ui::form<frmGames>();
        games.move(13, 27);
        games.show();
        QVERIFY(QTest::qWaitForWindowExposed(&games));

        QRect frame;
        QString title, text;
        bool visibleParts = false;
        DialogAnswerer answer([&](QWidget *w) {
            auto *cd = qobject_cast<frmCD *>(w);
            frame = cd->frameGeometry();
            title = cd->windowTitle();
            text = cd->lblInstruction->text();
            visibleParts = cd->lblInstruction->isVisible() && cd->imgOk2->isVisible() && cd->lblOk2->isVisible()
                           && !cd->imgOk2Light->isVisible() && !cd->imgOk2Indent->isVisible();
            QTest::mouseClick(cd->windowHandle(), Qt::LeftButton, {}, centreOf(cd->lblOk2));
        });
        showInformationDialog(QStringLiteral("Please select a game category and then a game to run."),
                              overMain ? Placement::MainScreen : Placement::Screen, Mode::Modal);
        QCOMPARE(answer.answered(), 1);
        QCOMPARE(title, QStringLiteral("Quorvia Information"));
        QCOMPARE(text, QStringLiteral("Please select a game category and then a game to run."));
        QVERIFY(visibleParts);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        // Outer sizes: both frames count, the dialog's also before it was
        // first shown.
        QCOMPARE(frame.topLeft(), centredIn(overMain ? games.frameGeometry() : screen, frame.size()));
        QCOMPARE(rec.count(QStringLiteral("BUTCLICK.WAV")), 1);
        QCOMPARE(rec.sounds.last(), QStringLiteral("BUTCLICK.WAV"));
        QVERIFY(!ui::loadedForm<frmCD>());
    }

    void modelessReturnsAtOnceAndKeepsMainUsable()
    {
        Recorder rec;
        frmGames &games = ui::form<frmGames>();
        games.show();
        showInformationDialog(QStringLiteral("Copying of game 'Chess' complete."), Placement::MainScreen, Mode::Modeless);
        frmCD *cd = ui::loadedForm<frmCD>();
        QVERIFY(cd && cd->isVisible());
        QVERIFY(!QApplication::activeModalWidget());

        // The next use reuses the open dialog and replaces its message.
        showInformationDialog(QStringLiteral("Second"), Placement::Screen, Mode::Modeless);
        QCOMPARE(ui::loadedForm<frmCD>(), cd);
        QCOMPARE(cd->lblInstruction->text(), QStringLiteral("Second"));

        // A modal request closes it first and builds a new dialog.
        QPointer<frmCD> old = cd;
        frmCD *seen = nullptr;
        DialogAnswerer answer([&](QWidget *w) {
            seen = qobject_cast<frmCD *>(w);
            w->close();
        });
        showInformationDialog(QStringLiteral("Please ensure that the 'Quorvia' CD is inside the CD-ROM drive."),
                              Placement::Screen, Mode::Modal);
        QCOMPARE(answer.answered(), 1);
        QVERIFY(seen && seen != old.data());
        QTest::qWait(0);
        QVERIFY(old.isNull() || !old->isVisible());
    }

    void rolloverOncePerEntry()
    {
        Recorder rec;
        showInformationDialog(QStringLiteral("Hello"), Placement::Screen, Mode::Modeless);
        frmCD *cd = ui::loadedForm<frmCD>();
        QVERIFY(QTest::qWaitForWindowExposed(cd));
        QWindow *win = cd->windowHandle();
        const QPoint ok = centreOf(cd->lblOk2);

        QTest::mouseMove(win, ok);
        QTest::mouseMove(win, ok + QPoint(3, 1));
        QVERIFY(cd->imgOk2Light->isVisible());
        QCOMPARE(rec.count(QStringLiteral("ROLLOVER.WAV")), 1);

        // Over the message the highlight stays.
        QTest::mouseMove(win, centreOf(cd->lblInstruction));
        QVERIFY(cd->imgOk2Light->isVisible());

        // The bare background clears it; entering again plays again.
        QTest::mouseMove(win, QPoint(5, 130));
        QVERIFY(!cd->imgOk2Light->isVisible());
        QTest::mouseMove(win, ok);
        QCOMPARE(rec.count(QStringLiteral("ROLLOVER.WAV")), 2);
    }

    void pressMoveOffReleaseIsNoClick()
    {
        Recorder rec;
        showInformationDialog(QStringLiteral("Hello"), Placement::Screen, Mode::Modeless);
        frmCD *cd = ui::loadedForm<frmCD>();
        QVERIFY(QTest::qWaitForWindowExposed(cd));
        QWindow *win = cd->windowHandle();
        QTest::mousePress(win, Qt::LeftButton, {}, centreOf(cd->lblOk2));
        QVERIFY(cd->imgOk2Indent->isVisible());
        QTest::mouseMove(win, QPoint(5, 130));
        QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(5, 130));
        QVERIFY(!cd->imgOk2Indent->isVisible());
        QVERIFY(cd->isVisible());
        QCOMPARE(rec.count(QStringLiteral("BUTCLICK.WAV")), 0);

        // After OK the next use starts from a fresh dialog without highlight.
        QTest::mouseMove(win, centreOf(cd->lblOk2));
        QTest::mouseClick(win, Qt::LeftButton, {}, centreOf(cd->lblOk2));
        QCOMPARE(rec.count(QStringLiteral("BUTCLICK.WAV")), 1);
        QVERIFY(!ui::loadedForm<frmCD>());
        showInformationDialog(QStringLiteral("Again"), Placement::Screen, Mode::Modeless);
        QVERIFY(ui::loadedForm<frmCD>() && !ui::loadedForm<frmCD>()->imgOk2Light->isVisible());
    }
};

QTEST_MAIN(TestInformation)
#include "test_information.moc"
