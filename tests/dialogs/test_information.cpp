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

    // A native window destroyed from outside closes the dialog as its close
    // command does: a modal caller goes on, without the click sound.
    void destroyedFromOutsideCloses_data()
    {
        QTest::addColumn<bool>("modal");
        QTest::newRow("modal") << true;
        QTest::newRow("modeless") << false;
    }
    void destroyedFromOutsideCloses()
    {
        QFETCH(bool, modal);
        Recorder rec;
        const QString message = QStringLiteral("Please select a game category and then a game to view.");
        if (modal) {
            DialogAnswerer answer([](QWidget *w) { destroyFromOutside(w); });
            showInformationDialog(message, Placement::Screen, Mode::Modal);
            QCOMPARE(answer.answered(), 1);
        } else {
            showInformationDialog(message, Placement::Screen, Mode::Modeless);
            QVERIFY(QTest::qWaitForWindowExposed(ui::loadedForm<frmCD>()));
            destroyFromOutside(ui::loadedForm<frmCD>());
        }
        QTRY_VERIFY(!ui::loadedForm<frmCD>());
        QCOMPARE(rec.count(QStringLiteral("BUTCLICK.WAV")), 0);
    }

    // Every message fits the label, which keeps its place, size and font: a
    // path wraps at its "\\"; only a name or path that still does not fit is
    // shortened, in its middle.
    void everyMessageFits_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("name");  // null: a message without a name
        QTest::addColumn<bool>("shortened");
        const QString ws(36, QLatin1Char('W'));
        QString longPath = QStringLiteral("C:\\");
        while (longPath.size() < 195)
            longPath += QStringLiteral("COLLECT\\");
        longPath += QString(200 - longPath.size(), QLatin1Char('Z'));
        QCOMPARE(longPath.size(), 200);
        QTest::newRow("copy complete, 36 W") << "Copying of game '%1' complete." << ws << true;
        QTest::newRow("copy incomplete, 36 W")
            << "Copying of game '%1' is incomplete: 32769 of 32770 files could not be copied." << ws << true;
        QTest::newRow("copy complete, short name") << "Copying of game '%1' complete." << "Chess" << false;
        QTest::newRow("folder, 200 characters") << "The folder '%1' could not be created." << longPath << true;
        QTest::newRow("folder that fits when wrapped at its separators")
            << "The folder '%1' could not be created." << "C:\\GAMES\\COLLECTION\\BOARD\\CHESSMASTER" << false;
        QTest::newRow("drive") << "The drive '%1' cannot be read." << "e:" << false;
        for (const char *fixed : {"Please ensure that the 'Quorvia' CD is inside the CD-ROM drive.",
                                  "Please select a game category and then a game to run.",
                                  "Please select a game category and then a game to copy.",
                                  "Please select a game category and then a game to view.",
                                  "Please enter a folder that begins with a drive, such as C:\\."})
            QTest::newRow(fixed) << fixed << QString() << false;
    }
    void everyMessageFits()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, name);
        QFETCH(bool, shortened);
        if (name.isNull())
            showInformationDialog(sentence, Placement::Screen, Mode::Modeless);
        else
            showInformationDialog(sentence, name, Placement::Screen, Mode::Modeless);
        frmCD *cd = ui::loadedForm<frmCD>();
        QVERIFY(cd);
        const QLabel *label = cd->lblInstruction;
        QCOMPARE(label->geometry(), QRect(13, 10, 231, 79));
        QCOMPARE(label->font().family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(label->font().pointSize(), 12);
        QVERIFY(label->font().bold());
        QVERIFY(label->wordWrap());

        const QString shown = label->text();
        const QRect needed = label->fontMetrics().boundingRect(label->rect(), int(label->alignment()) | Qt::TextWordWrap, shown);
        QVERIFY2(needed.width() <= 231 && needed.height() <= 79,
                 qPrintable(QStringLiteral("%1 x %2 for: %3").arg(needed.width()).arg(needed.height()).arg(shown)));
        if (name.isNull()) {
            QCOMPARE(shown, sentence);
        } else {
            QVERIFY2(showsSentence(shown, sentence, name), qPrintable(shown));
            QCOMPARE(shown.contains(QChar(0x2026)), shortened);
        }
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
